#include "graph/control/dimensions.h"

#include <algorithm>

#include "graph/control/appearance.h"
#include "graph/control/graph_owner.h"

TDimensions::TDimensions(TGraphOwner& owner)
    : FOwner(owner)
{
}

void TDimensions::ResetDefaults()
{
    F = TFields{};
}

void TDimensions::SetLeftMargin(uint16_t value) { StoreAndRepaint(FOwner, F.LeftMargin, value); }
void TDimensions::SetRightMargin(uint16_t value) { StoreAndRepaint(FOwner, F.RightMargin, value); }
void TDimensions::SetTopMargin(uint16_t value) { StoreAndRepaint(FOwner, F.TopMargin, value); }
void TDimensions::SetBottomMargin(uint16_t value) { StoreAndRepaint(FOwner, F.BottomMargin, value); }
void TDimensions::SetXAxisTitleOffset(int32_t value) { StoreAndRepaint(FOwner, F.XAxisTitleOffset, value); }
void TDimensions::SetYAxisTitleOffset(int32_t value) { StoreAndRepaint(FOwner, F.YAxisTitleOffset, value); }
void TDimensions::SetXAxisLabelOffset(int32_t value) { StoreAndRepaint(FOwner, F.XAxisLabelOffset, value); }
void TDimensions::SetYAxisLabelOffset(int32_t value) { StoreAndRepaint(FOwner, F.YAxisLabelOffset, value); }
void TDimensions::SetGraphTitleOffset(int32_t value) { StoreAndRepaint(FOwner, F.GraphTitleOffset, value); }

void TDimensions::SetTickLength(uint16_t value)
{
    F.TickLength = value;
    if (value == 0)
        FOwner.Appearance().SetShowTicks(false);
    FOwner.Repaint();
}

void TDimensions::SetPrintScalePct(uint16_t value)
{
    F.PrintScalePct = std::clamp<uint16_t>(value, 20, 100);
}

void TDimensions::SetPrintXOffsetPct(uint16_t value)
{
    F.PrintXOffsetPct = std::min<uint16_t>(value, 100);
}

void TDimensions::SetPrintYOffsetPct(uint16_t value)
{
    F.PrintYOffsetPct = std::min<uint16_t>(value, 100);
}

const std::vector<TPublishedProperty<TDimensions>>& TDimensions::Published()
{
    using T = TDimensions;
    static const std::vector<TPublishedProperty<T>> properties = {
        Publish("BottomMargin", &T::BottomMargin, &T::SetBottomMargin, int64_t{40}),
        Publish("LeftMargin", &T::LeftMargin, &T::SetLeftMargin, int64_t{40}),
        Publish("RightMargin", &T::RightMargin, &T::SetRightMargin, int64_t{15}),
        Publish("TopMargin", &T::TopMargin, &T::SetTopMargin, int64_t{30}),
        Publish("TickLength", &T::TickLength, &T::SetTickLength, int64_t{4}),
        Publish("XAxisTitleOffset", &T::XAxisTitleOffset, &T::SetXAxisTitleOffset, int64_t{4}),
        Publish("XAxisLabelOffset", &T::XAxisLabelOffset, &T::SetXAxisLabelOffset, int64_t{2}),
        Publish("YAxisTitleOffset", &T::YAxisTitleOffset, &T::SetYAxisTitleOffset, int64_t{4}),
        Publish("YAxisLabelOffset", &T::YAxisLabelOffset, &T::SetYAxisLabelOffset, int64_t{2}),
        Publish("GraphTitleOffset", &T::GraphTitleOffset, &T::SetGraphTitleOffset, int64_t{7}),
        Publish("PrintXOffsetPct", &T::PrintXOffsetPct, &T::SetPrintXOffsetPct, int64_t{5}),
        Publish("PrintYOffsetPct", &T::PrintYOffsetPct, &T::SetPrintYOffsetPct, int64_t{20}),
        Publish("PrintScalePct", &T::PrintScalePct, &T::SetPrintScalePct, int64_t{90}),
    };
    return properties;
}
