#pragma once
// A whole-number field with an allowed range that is checked when the field
// is left: the user may type a value outside it (11 in a 0 to 10 field), and
// leaving the field then reports outOfRange() so that the window can say so
// and keep the focus there. The arrows stay inside the range.

#include <QSpinBox>

namespace ormavex::gui {

class RangeSpinBox : public QSpinBox {
    Q_OBJECT
public:
    RangeSpinBox(int minimum, int maximum, QWidget* parent = nullptr);

    int allowedMinimum() const { return m_min; }
    int allowedMaximum() const { return m_max; }
    /// Takes the typed text and tells whether the value lies in the range.
    bool checkRange();

    void stepBy(int steps) override;

signals:
    void outOfRange(RangeSpinBox* box);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    StepEnabled stepEnabled() const override;

private:
    int m_min;
    int m_max;
};

} // namespace ormavex::gui
