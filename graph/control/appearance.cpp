#include "graph/control/appearance.h"

#include "graph/control/graph_owner.h"
#include "graph/data/data_series.h"

TAppearance::TAppearance(TGraphOwner& owner, const TFontAttributes& controlFont)
    : FOwner(owner), FTitleFont(controlFont), FCaptionFont(controlFont), FLabelFont(controlFont)
{
    for (TFont* font : {&FTitleFont, &FCaptionFont, &FLabelFont})
        font->SetOnChange([this] { FOwner.Repaint(); });
}

void TAppearance::ResetDefaults(TColor controlColor)
{
    F = TFields{};
    F.BackgroundColor = controlColor;
    F.MarginColor = controlColor;
}

void TAppearance::SetShowTicks(bool value) { StoreAndRepaint(FOwner, F.ShowTicks, value); }
void TAppearance::SetPlotOffGraph(bool value) { StoreAndRepaint(FOwner, F.PlotOffGraph, value); }
void TAppearance::SetShowGraphLabels(bool value) { StoreAndRepaint(FOwner, F.ShowGraphLabels, value); }
void TAppearance::SetGridColor(TColor value) { StoreAndRepaint(FOwner, F.GridColor, value); }
void TAppearance::SetAxesColor(TColor value) { StoreAndRepaint(FOwner, F.AxesColor, value); }
void TAppearance::SetBackgroundColor(TColor value) { StoreAndRepaint(FOwner, F.BackgroundColor, value); }
void TAppearance::SetMarginColor(TColor value) { StoreAndRepaint(FOwner, F.MarginColor, value); }
void TAppearance::SetGridStyle(TPenStyle value) { StoreAndRepaint(FOwner, F.GridStyle, value); }
void TAppearance::SetGraphTitle(const std::string& value) { StoreAndRepaint(FOwner, F.GraphTitle, value); }
void TAppearance::SetShowMarks(bool value) { ChangeAndRepaint(FOwner, F.ShowMarks, value); }
void TAppearance::SetCrossAtZero(bool value) { ChangeAndRepaint(FOwner, F.CrossAtZero, value); }
void TAppearance::SetCrossColor(TColor value) { ChangeAndRepaint(FOwner, F.CrossColor, value); }
void TAppearance::SetCrosslength(uint16_t value) { ChangeAndRepaint(FOwner, F.Crosslength, value); }
void TAppearance::SetPrintLineStyle(bool value) { F.PrintLineStyle = value; }
void TAppearance::SetPrintBkgndColor(bool value) { FPrintBkgndColor = value; }

void TAppearance::SetAllowDuplicates(bool value)
{
    F.AllowDuplicates = value;
    FOwner.ForEachSeries([value](TDataSeries& series) { series.SetDuplicatesAllowed(value); });
    FOwner.Paint();
}

void TAppearance::SetErrorCaption(const std::string& value)
{
    F.ErrorCaption = value;
    if (!FOwner.ScalesValid())
        FOwner.Repaint();
}

void TAppearance::SetMinSteps(uint16_t value)
{
    if (value != 0 && 0.4 * F.MaxSteps > value)
        F.MinSteps = value;
    FOwner.Repaint();
}

void TAppearance::SetMaxSteps(uint16_t value)
{
    if (value > 2.5 * F.MinSteps && value <= 90)
        F.MaxSteps = value;
    FOwner.Repaint();
}

// The owned font keeps its identity and takes the given attributes.
void TAppearance::SetTitleFont(const TFontAttributes& value)
{
    FTitleFont.Assign(value);
    FOwner.Repaint();
}

void TAppearance::SetCaptionFont(const TFontAttributes& value)
{
    FCaptionFont.Assign(value);
    FOwner.Repaint();
}

void TAppearance::SetLabelFont(const TFontAttributes& value)
{
    FLabelFont.Assign(value);
    FOwner.Repaint();
}

const std::vector<TPublishedProperty<TAppearance>>& TAppearance::Published()
{
    using T = TAppearance;
    static const std::vector<TPublishedProperty<T>> properties = {
        Publish("AllowDuplicates", &T::AllowDuplicates, &T::SetAllowDuplicates, false),
        Publish("AxesColor", &T::AxesColor, &T::SetAxesColor, int64_t{0}),
        Publish("BackgroundColor", &T::BackgroundColor, &T::SetBackgroundColor),
        Publish("MarginColor", &T::MarginColor, &T::SetMarginColor),
        Publish("PrintBkgndColor", &T::PrintBkgndColor, &T::SetPrintBkgndColor),
        Publish("ErrorCaption", &T::ErrorCaption, &T::SetErrorCaption),
        Publish("GridColor", &T::GridColor, &T::SetGridColor, int64_t{0xC0C0C0}),
        Publish("GridStyle", &T::GridStyle, &T::SetGridStyle, int64_t{psDot}, kPenStyleNames),
        Publish("ShowGraphLabels", &T::ShowGraphLabels, &T::SetShowGraphLabels, true),
        Publish("PlotOffGraph", &T::PlotOffGraph, &T::SetPlotOffGraph, false),
        Publish("ShowMarks", &T::ShowMarks, &T::SetShowMarks, false),
        Publish("ShowTicks", &T::ShowTicks, &T::SetShowTicks, true),
        Publish("GraphTitle", &T::GraphTitle, &T::SetGraphTitle),
        Publish("MinSteps", &T::MinSteps, &T::SetMinSteps, int64_t{5}),
        Publish("MaxSteps", &T::MaxSteps, &T::SetMaxSteps, int64_t{50}),
        Publish("TitleFont", &T::TitleFont, &T::SetTitleFont),
        Publish("CaptionFont", &T::CaptionFont, &T::SetCaptionFont),
        Publish("LabelFont", &T::LabelFont, &T::SetLabelFont),
        // Declared false although the reset sets it, so a graph that keeps the
        // reset value stores it.
        Publish("CrossAtZero", &T::CrossAtZero, &T::SetCrossAtZero, false),
        Publish("CrossColor", &T::CrossColor, &T::SetCrossColor, int64_t{0xFF}),
        Publish("Crosslength", &T::Crosslength, &T::SetCrosslength, int64_t{4}),
        Publish("PrintLineStyle", &T::PrintLineStyle, &T::SetPrintLineStyle, true),
    };
    return properties;
}
