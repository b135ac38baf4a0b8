#pragma once

#include <functional>

#include <QSpinBox>

// A number field with arrows whose change handler sees every typed number as typed,
// even outside the range; the arrows and leaving the field bring the value within
// the range. Text that is not a number reads as the minimum.
class TSpinEdit : public QSpinBox {
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }
    void SetRange(int minValue, int maxValue);
    int Increment() const { return singleStep(); }
    void SetIncrement(int value) { setSingleStep(value); }

    int Value() const;
    void SetValue(int value) { setValue(value); }
    // Puts the value within the range, as leaving the field does.
    void BringWithinRange();

    // Called on every change of the text, typed or not.
    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

    // The arrows: a step of the increment, kept within the range.
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Clamped(long long value) const;

    int FMinValue = 0;
    int FMaxValue = 100;
    std::function<void()> FOnChange;
};
