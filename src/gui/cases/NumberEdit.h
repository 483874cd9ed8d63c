#pragma once
// A number field with a range and number pictures ("#0.00", "#,##0.00"): it
// shows its value with the display picture, and with the edit picture while
// it has the focus. A typed value is taken when the field is left (or on
// commit()); one outside the range is not taken, the field shows its old value
// again and emits invalidRange() so that the window can report it.

#include <QLineEdit>

#include <string>

namespace ormavex::gui {

class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);

    double Value() const noexcept { return m_value; }
    double MinValue() const noexcept { return m_min; }
    double MaxValue() const noexcept { return m_max; }
    /// A number written with the display picture.
    QString FormatValue(double value) const;

    /// Sets the value; false (value kept) when it lies outside the range.
    bool setValue(double value);
    void setRange(double min, double max);
    void setMaxValue(double max) { setRange(m_min, max); }
    /// A field for a size: a typed 0, negative number or nothing is not taken
    /// either, and notPositive() is emitted instead of invalidRange().
    void setPositive(bool positive) { m_positive = positive; }
    /// Display and edit pictures; the edit picture's decimals limit typing.
    void setFormats(const std::string& display, const std::string& edit);

    /// Takes the typed text. False, with invalidRange(), when it is outside
    /// the range; the field then shows its value again.
    bool commit();

signals:
    void valueChanged(double value);
    void invalidRange();
    void notPositive();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue();

    double m_value = 0.0;
    double m_min = 0.0;
    double m_max = 0.0;
    std::string m_display = "0";
    std::string m_edit = "0";
    bool m_positive = false;
};

} // namespace ormavex::gui
