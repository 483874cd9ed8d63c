#include "gui/cases/NumberEdit.h"

#include "core/text/LeadingNumber.h"
#include "core/text/NumberPicture.h"
#include "gui/common/Widgets.h"

#include <QFocusEvent>
#include <QRegularExpressionValidator>

namespace ormavex::gui {

namespace {

int PictureDecimals(const std::string& picture) {
    const auto point = picture.find('.');
    if (point == std::string::npos) {
        return 0;
    }
    int n = 0;
    for (std::size_t i = point + 1; i < picture.size() && (picture[i] == '0' || picture[i] == '#');
         ++i) {
        ++n;
    }
    return n;
}

} // namespace

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFormats("0", "0");
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(); });
}

QString NumberEdit::FormatValue(double value) const { return Q(FormatNumber(value, m_display)); }

bool NumberEdit::setValue(double value) {
    if (value < m_min - 1e-9 || value > m_max + 1e-9) {
        return false;
    }
    const bool changed = value != m_value;
    m_value = value;
    showValue();
    if (changed) {
        emit valueChanged(m_value);
    }
    return true;
}

void NumberEdit::setRange(double min, double max) {
    m_min = min;
    m_max = max;
}

void NumberEdit::setFormats(const std::string& display, const std::string& edit) {
    m_display = display;
    m_edit = edit;
    const int decimals = PictureDecimals(edit);
    const QString pattern = decimals > 0 ? QString("[-+]?[0-9,]*(\\.[0-9]{0,%1})?").arg(decimals)
                                         : QString("[-+]?[0-9,]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    showValue();
}

bool NumberEdit::commit() {
    if (!isModified()) {
        return true; // shown, not typed: the value may hold more places than shown
    }
    QString typed = text();
    typed.remove(',');
    double value = 0.0;
    if (!ParseNumber(typed.toStdString(), value)) {
        value = LeadingNumber(typed.toStdString()); // "", "-" or "." read as 0
    }
    if (m_positive && !(value > 0.0)) {
        showValue();
        emit notPositive();
        return false;
    }
    if (value == m_value) {
        return true;
    }
    if (!setValue(value)) {
        showValue();
        emit invalidRange();
        return false;
    }
    return true;
}

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    showValue();
    selectAll();
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!isReadOnly() && commit()) {
        showValue();
    }
}

void NumberEdit::showValue() { setText(Q(FormatNumber(m_value, hasFocus() ? m_edit : m_display))); }

} // namespace ormavex::gui
