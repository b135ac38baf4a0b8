#include "app/window/spin_edit.h"

#include <algorithm>
#include <limits>

#include <QLineEdit>

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent)
{
    // The box itself accepts any integer, so that typing never gets corrected
    // under the user's fingers; the range is kept here.
    QSpinBox::setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    connect(this, &QSpinBox::textChanged, this, [this] {
        if (FOnChange)
            FOnChange();
    });
}

void TSpinEdit::SetRange(int minValue, int maxValue)
{
    FMinValue = minValue;
    FMaxValue = std::max(minValue, maxValue);
}

int TSpinEdit::Value() const
{
    bool number = false;
    const int value = cleanText().toInt(&number);
    return number ? value : FMinValue;
}

void TSpinEdit::BringWithinRange()
{
    const int value = Value();
    if (Clamped(value) != value || cleanText() != QString::number(value))
        setValue(Clamped(value));
}

void TSpinEdit::stepBy(int steps)
{
    setValue(Clamped(static_cast<long long>(Value()) + static_cast<long long>(steps) * singleStep()));
    selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (Value() < FMaxValue)
        enabled |= StepUpEnabled;
    if (Value() > FMinValue)
        enabled |= StepDownEnabled;
    return enabled;
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    BringWithinRange();
    QSpinBox::focusOutEvent(event);
}

int TSpinEdit::Clamped(long long value) const
{
    return static_cast<int>(std::clamp<long long>(value, FMinValue, FMaxValue));
}
