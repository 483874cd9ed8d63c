#include "gui/report/RangeSpinBox.h"

#include <QFocusEvent>

#include <algorithm>

namespace ormavex::gui {

RangeSpinBox::RangeSpinBox(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_min(minimum), m_max(maximum) {
    // Three digits either way can be typed; the allowed range is checked on leaving.
    setRange(-999, 999);
    setValue(minimum);
    setAlignment(Qt::AlignRight);
}

bool RangeSpinBox::checkRange() {
    interpretText();
    return value() >= m_min && value() <= m_max;
}

void RangeSpinBox::stepBy(int steps) {
    setValue(std::clamp(value() + steps, m_min, m_max));
    selectAll();
}

QAbstractSpinBox::StepEnabled RangeSpinBox::stepEnabled() const {
    StepEnabled e = StepNone;
    if (value() < m_max) {
        e |= StepUpEnabled;
    }
    if (value() > m_min) {
        e |= StepDownEnabled;
    }
    return e;
}

void RangeSpinBox::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    // Only leaving the field counts, not another window (the message box) coming up.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        return;
    }
    if (!checkRange()) {
        emit outOfRange(this);
    }
}

} // namespace ormavex::gui
