#include "graph/control/axis.h"

#include "graph/control/graph_owner.h"

TAxis::TAxis(TGraphOwner& owner)
    : FOwner(owner)
{
}

void TAxis::ResetDefaults(TAxisRole role)
{
    const bool second = role == TAxisRole::SecondY;
    FIsSecondAxis = second;
    FShowAxis = !second;
    FReversed = second;
    FMinScaleLength = 0.0;
    FMin = 0.0;
    FMax = 1.0;
    FStepSize = 0.2 * FMax;
    FLog.LogCycleDivisions = 2;
    BuildLogSteps();
    FAutoSizing = false;
    FAutoStepping = false;
    FLogScale = false;
    FTitle = role == TAxisRole::X ? "X axis" : role == TAxisRole::Y ? "Y axis" : "Second Y axis";
    FGridlines = !second;
    FLabelDecimals = 1;
    if (!second)
        FAutoLabelDecimals = true;
    FShowAsTime = false;
    FDateTimeFormat = "dd-mmm";
    FOffsetType = second ? ao_Maximum : ao_Minimum;
    FOffset = 0.0;
}

void TAxis::SetTitle(const std::string& value) { StoreAndRepaint(FOwner, FTitle, value); }

void TAxis::SetLabelDecimals(int32_t value) { StoreAndRepaint(FOwner, FLabelDecimals, value); }

void TAxis::SetAutoLabelDecimals(bool value)
{
    FAutoLabelDecimals = value;
}

void TAxis::SetLogCycleDivisions(uint16_t value)
{
    FLog.LogCycleDivisions = value;
    BuildLogSteps();
    FOwner.Repaint();
}

void TAxis::SetLogScale(bool value) { StoreAndRepaint(FOwner, FLogScale, value); }

void TAxis::SetGridlines(bool value) { StoreAndRepaint(FOwner, FGridlines, value); }

void TAxis::SetAutoSizing(bool value) { StoreAndRepaint(FOwner, FAutoSizing, value); }

void TAxis::SetAutoStepping(bool value) { StoreAndRepaint(FOwner, FAutoStepping, value); }

void TAxis::SetMax(double value)
{
    FAutoSizing = false;
    if (value == FMax)
        return;
    FMax = value;
    // A date axis without data keeps its range as if it were the data's.
    if (FShowAsTime && !FOwner.AxisHasData(this))
        oMax = value;
    FOwner.DoRescale();
    FOwner.Repaint();
}

void TAxis::SetMin(double value)
{
    FAutoSizing = false;
    if (value == FMin)
        return;
    FMin = value;
    if (FShowAsTime && !FOwner.AxisHasData(this))
        oMin = value;
    FOwner.DoRescale();
    FOwner.Repaint();
}

void TAxis::SetStepSize(double value)
{
    FAutoStepping = false;
    if (value == FStepSize)
        return;
    FStepSize = value;
    FOwner.DoRescale();
    FOwner.Repaint();
}

void TAxis::SetMinScaleLength(double value)
{
    const double range = FMax - FMin;
    const bool mattered = FMinScaleLength == range;
    FMinScaleLength = value;
    if (value > range || mattered)
        FOwner.Repaint();
}

void TAxis::SetShowAsTime(bool value)
{
    if (value == FShowAsTime)
        return;
    FShowAsTime = value;
    if (value && !FOwner.AxisHasData(this)) {
        oMin = FMin;
        oMax = FMax;
    }
    FOwner.Repaint();
}

void TAxis::SetDateTimeFormat(const std::string& value) { ChangeAndRepaint(FOwner, FDateTimeFormat, value); }
void TAxis::SetDateTickType(Dateticks value) { ChangeAndRepaint(FOwner, FDateTickType, value); }
void TAxis::SetShowAxis(bool value) { ChangeAndRepaint(FOwner, FShowAxis, value); }
void TAxis::SetReversed(bool value) { ChangeAndRepaint(FOwner, FReversed, value); }
void TAxis::SetOffsetType(TAxisOffsetType value) { ChangeAndRepaint(FOwner, FOffsetType, value); }
void TAxis::SetOffset(double value) { ChangeAndRepaint(FOwner, FOffset, value); }

const std::vector<TPublishedProperty<TAxis>>& TAxis::Published()
{
    using T = TAxis;
    // Max, Min and StepSize come before AutoSizing and AutoStepping: their setters
    // switch the flags off, and the flags read later restore them.
    static const std::vector<TPublishedProperty<T>> properties = {
        Publish("Title", &T::Title, &T::SetTitle),
        Publish("LabelDecimals", &T::LabelDecimals, &T::SetLabelDecimals, int64_t{1}),
        Publish("AutoLabelDecimals", &T::AutoLabelDecimals, &T::SetAutoLabelDecimals, true),
        Publish("LogCycleDivisions", &T::LogCycleDivisions, &T::SetLogCycleDivisions, int64_t{2}),
        Publish("LogScale", &T::LogScale, &T::SetLogScale),
        Publish("Max", &T::Max, &T::SetMax),
        Publish("Min", &T::Min, &T::SetMin),
        Publish("StepSize", &T::StepSize, &T::SetStepSize),
        Publish("MinScaleLength", &T::MinScaleLength, &T::SetMinScaleLength),
        Publish("ShowAsTime", &T::ShowAsTime, &T::SetShowAsTime, false),
        Publish("DateTimeFormat", &T::DateTimeFormat, &T::SetDateTimeFormat),
        Publish("DateTickType", &T::DateTickType, &T::SetDateTickType, std::nullopt, kDateticksNames),
        Publish("ShowAxis", &T::ShowAxis, &T::SetShowAxis),
        Publish("Reversed", &T::Reversed, &T::SetReversed),
        Publish("OffsetType", &T::OffsetType, &T::SetOffsetType, std::nullopt, kAxisOffsetTypeNames),
        Publish("Offset", &T::Offset, &T::SetOffset),
        Publish("Gridlines", &T::Gridlines, &T::SetGridlines),
        Publish("AutoSizing", &T::AutoSizing, &T::SetAutoSizing),
        Publish("AutoStepping", &T::AutoStepping, &T::SetAutoStepping),
    };
    return properties;
}
