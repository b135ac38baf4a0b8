#include "graph/control/axis.h"
#include "graph/stream/section_layout.h"
#include "graph/control/files/section_layouts.h"

namespace {

const TSectionLayout<TAxis>& AxisLayout()
{
    using namespace section_fields;
    using T = TAxis;
    // The order is part of the format: LogScale before the limits, and the limits
    // and step (whose setters switch automatic sizing and stepping off) before the
    // two flags that put them back.
    static const TSectionLayout<T> layout{
        .Name = "Axis",
        .HeaderKey = "Section:",
        .Fields = {
            String(1, "AxisTitle", &T::Title, &T::SetTitle),
            Integer(2, "NumberOfDecimals", &T::LabelDecimals, &T::SetLabelDecimals),
            Boolean(3, "AdjustDecPlaces", &T::AutoLabelDecimals, &T::SetAutoLabelDecimals),
            Integer(4, "LogDivisions", &T::LogCycleDivisions, &T::SetLogCycleDivisions),
            Boolean(5, "useLogScale", &T::LogScale, &T::SetLogScale),
            Float(6, "Max", &T::Max, &T::SetMax),
            Float(7, "Min", &T::Min, &T::SetMin),
            Float(8, "TickSpace", &T::StepSize, &T::SetStepSize),
            Float(9, "MinimumScale", &T::MinScaleLength, &T::SetMinScaleLength),
            Boolean(10, "ShowAsTime", &T::ShowAsTime, &T::SetShowAsTime),
            String(11, "TimeFormat", &T::DateTimeFormat, &T::SetDateTimeFormat),
            Integer(12, "TimeTickMode", &T::DateTickType, &T::SetDateTickType),
            Boolean(13, "AxisVisible", &T::ShowAxis, &T::SetShowAxis),
            Boolean(14, "FlipAxis", &T::Reversed, &T::SetReversed),
            Integer(15, "OffsetMode", &T::OffsetType, &T::SetOffsetType),
            Float(16, "OffSetValue", &T::Offset, &T::SetOffset),
            Boolean(17, "ShowGridlines", &T::Gridlines, &T::SetGridlines),
            Boolean(18, "AllowAutoSize", &T::AutoSizing, &T::SetAutoSizing),
            Boolean(19, "AllowTickRescale", &T::AutoStepping, &T::SetAutoStepping),
        }};
    return layout;
}

}  // namespace

void WriteAxisSection(TxyWriter& writer, const TAxis& axis)
{
    AxisLayout().Write(writer, axis);
}

void ReadAxisSection(TxyReader& reader, TAxis& axis)
{
    AxisLayout().Read(reader, axis);
}
