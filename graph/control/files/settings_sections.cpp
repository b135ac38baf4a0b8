// The sections of the graph's three settings objects.
#include "graph/control/appearance.h"
#include "graph/control/dimensions.h"
#include "graph/control/legend.h"
#include "graph/control/files/font_field.h"
#include "graph/stream/section_layout.h"
#include "graph/control/files/section_layouts.h"

namespace {

using namespace section_fields;

const TSectionLayout<TAppearance>& AppearanceLayout()
{
    using T = TAppearance;
    // Field 6, the error caption, is read when present but never written.
    static const TSectionLayout<T> layout{
        .Name = "Appearance",
        .HeaderKey = "Section",
        .Fields = {
            Boolean(1, "DuplicatesAllowed", &T::AllowDuplicates, &T::SetAllowDuplicates),
            Integer(2, "AxesColor", &T::AxesColor, &T::SetAxesColor),
            Integer(3, "Color", &T::BackgroundColor, &T::SetBackgroundColor),
            Integer(4, "MarginColor", &T::MarginColor, &T::SetMarginColor),
            Boolean(5, "PrintwithBackground", &T::PrintBkgndColor, &T::SetPrintBkgndColor),
            {6, [](TxyWriter&, const T&) {}, [](TxyReader& reader, T& object) { object.SetErrorCaption(reader.ReadAsString()); }},
            Integer(7, "GridColor", &T::GridColor, &T::SetGridColor),
            Integer(8, "GridLineStyle", &T::GridStyle, &T::SetGridStyle),
            Boolean(9, "GridLabelsShown", &T::ShowGraphLabels, &T::SetShowGraphLabels),
            Boolean(10, "ShowPointsOutsidePlotArea", &T::PlotOffGraph, &T::SetPlotOffGraph),
            Boolean(11, "MarksAreShown", &T::ShowMarks, &T::SetShowMarks),
            Boolean(12, "TicksAreShown", &T::ShowTicks, &T::SetShowTicks),
            String(13, "TitleOfGraph", &T::GraphTitle, &T::SetGraphTitle),
            Integer(14, "MinimumStepsShown", &T::MinSteps, &T::SetMinSteps),
            Integer(15, "MaximumStepsShown", &T::MaxSteps, &T::SetMaxSteps),
            Font<T>(16, "FontForAxesTitles", &T::TitleFont, &T::SetTitleFont),
            Font<T>(17, "FontForTitle", &T::CaptionFont, &T::SetCaptionFont),
            Font<T>(18, "FontForLabels", &T::LabelFont, &T::SetLabelFont),
            Boolean(19, "ShowCrossAtZero", &T::CrossAtZero, &T::SetCrossAtZero),
            Integer(20, "ColorOfCross", &T::CrossColor, &T::SetCrossColor),
            Integer(21, "LengthOfCross", &T::Crosslength, &T::SetCrosslength),
            Boolean(22, "PrintStyleforLines", &T::PrintLineStyle, &T::SetPrintLineStyle),
        }};
    return layout;
}

const TSectionLayout<TDimensions>& DimensionsLayout()
{
    using T = TDimensions;
    static const TSectionLayout<T> layout{
        .Name = "Dimensions",
        .HeaderKey = "Section:",
        .Fields = {
            Integer(1, "BottomMargin", &T::BottomMargin, &T::SetBottomMargin),
            Integer(2, "LeftMargin", &T::LeftMargin, &T::SetLeftMargin),
            Integer(3, "RightMargin", &T::RightMargin, &T::SetRightMargin),
            Integer(4, "TopMargin", &T::TopMargin, &T::SetTopMargin),
            Integer(5, "TickLength", &T::TickLength, &T::SetTickLength),
            Integer(6, "XAxisTitleOffset", &T::XAxisTitleOffset, &T::SetXAxisTitleOffset),
            Integer(7, "XAxisLabelOffset", &T::XAxisLabelOffset, &T::SetXAxisLabelOffset),
            Integer(8, "YAxisTitleOffset", &T::YAxisTitleOffset, &T::SetYAxisTitleOffset),
            Integer(9, "YAxisLabelOffset", &T::YAxisLabelOffset, &T::SetYAxisLabelOffset),
            Integer(10, "GraphTitleOffset", &T::GraphTitleOffset, &T::SetGraphTitleOffset),
            Integer(11, "PrintXOffsetPct", &T::PrintXOffsetPct, &T::SetPrintXOffsetPct),
            Integer(12, "PrintYOffsetPct", &T::PrintYOffsetPct, &T::SetPrintYOffsetPct),
            Integer(13, "PrintScalePct", &T::PrintScalePct, &T::SetPrintScalePct),
        }};
    return layout;
}

const TSectionLayout<TLegend>& LegendLayout()
{
    using T = TLegend;
    static const TSectionLayout<T> layout{
        .Name = "Legend",
        .HeaderKey = "Section:",
        .Fields = {
            Boolean(1, "LegendIsVisible", &T::visible, &T::Setvisible),
            Integer(2, "LegendColor", &T::color, &T::Setcolor),
            Integer(3, "borderStyle", &T::borderStyle, &T::SetborderStyle),
            Integer(4, "LayoutMode", &T::Layout, &T::SetLayout),
            Integer(5, "Legendtop", &T::top, &T::Settop),
            Integer(6, "Legendleft", &T::left, &T::Setleft),
            Integer(7, "Legendwidth", &T::width, &T::Setwidth),
            Integer(8, "Legendheight", &T::height, &T::Setheight),
            Font<T>(9, "Legendfont", &T::font, &T::Setfont),
            Integer(10, "SpaceForSymbols", &T::SymbolSpace, &T::SetSymbolSpace),
            Integer(11, "XMargin", &T::XMargin, &T::SetXMargin),
            Integer(12, "YMargin", &T::YMargin, &T::SetYMargin),
        }};
    return layout;
}

}  // namespace

void WriteAppearanceSection(TxyWriter& writer, const TAppearance& appearance)
{
    AppearanceLayout().Write(writer, appearance);
}

void ReadAppearanceSection(TxyReader& reader, TAppearance& appearance)
{
    AppearanceLayout().Read(reader, appearance);
}

void WriteDimensionsSection(TxyWriter& writer, const TDimensions& dimensions)
{
    DimensionsLayout().Write(writer, dimensions);
}

void ReadDimensionsSection(TxyReader& reader, TDimensions& dimensions)
{
    DimensionsLayout().Read(reader, dimensions);
}

void WriteLegendSection(TxyWriter& writer, const TLegend& legend)
{
    LegendLayout().Write(writer, legend);
}

void ReadLegendSection(TxyReader& reader, TLegend& legend)
{
    LegendLayout().Read(reader, legend);
}
