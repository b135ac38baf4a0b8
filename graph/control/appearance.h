#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/control/font.h"
#include "graph/control/graph_types.h"
#include "graph/control/published.h"

class TGraphOwner;

// Colours, fonts, titles, step limits and what a graph shows.
class TAppearance {
public:
    // The three fonts start as copies of the control's font; editing one of them
    // repaints the graph while it is plotting.
    TAppearance(TGraphOwner& owner, const TFontAttributes& controlFont);
    TAppearance(const TAppearance&) = delete;
    TAppearance& operator=(const TAppearance&) = delete;

    // The defaults, assigned directly (nothing is painted); the background and
    // margin colours become the control's. PrintBkgndColor and the fonts stay.
    void ResetDefaults(TColor controlColor);

    bool ShowTicks() const { return F.ShowTicks; }
    void SetShowTicks(bool value);
    bool ShowMarks() const { return F.ShowMarks; }
    void SetShowMarks(bool value);
    bool CrossAtZero() const { return F.CrossAtZero; }
    void SetCrossAtZero(bool value);
    bool PrintLineStyle() const { return F.PrintLineStyle; }
    void SetPrintLineStyle(bool value); // kept only, no repaint
    bool PlotOffGraph() const { return F.PlotOffGraph; }
    void SetPlotOffGraph(bool value);
    bool AllowDuplicates() const { return F.AllowDuplicates; }
    // Passed on to every series' DuplicatesAllowed; repaints even while not plotting.
    void SetAllowDuplicates(bool value);
    bool ShowGraphLabels() const { return F.ShowGraphLabels; }
    void SetShowGraphLabels(bool value);
    TColor GridColor() const { return F.GridColor; }
    void SetGridColor(TColor value);
    TColor AxesColor() const { return F.AxesColor; }
    void SetAxesColor(TColor value);
    TColor BackgroundColor() const { return F.BackgroundColor; }
    void SetBackgroundColor(TColor value);
    TColor MarginColor() const { return F.MarginColor; }
    void SetMarginColor(TColor value);
    TColor CrossColor() const { return F.CrossColor; }
    void SetCrossColor(TColor value);
    TPenStyle GridStyle() const { return F.GridStyle; }
    void SetGridStyle(TPenStyle value);
    bool PrintBkgndColor() const { return FPrintBkgndColor; }
    void SetPrintBkgndColor(bool value); // kept only, no repaint
    const std::string& ErrorCaption() const { return F.ErrorCaption; }
    // Repaints only while the caption is on screen, that is while the scales are invalid.
    void SetErrorCaption(const std::string& value);
    const std::string& GraphTitle() const { return F.GraphTitle; }
    void SetGraphTitle(const std::string& value);
    uint16_t MinSteps() const { return F.MinSteps; }
    // Taken only when not 0 and below 0.4 x MaxSteps; otherwise ignored silently.
    void SetMinSteps(uint16_t value);
    uint16_t MaxSteps() const { return F.MaxSteps; }
    // Taken only when above 2.5 x MinSteps and at most 90; otherwise ignored silently.
    void SetMaxSteps(uint16_t value);
    uint16_t Crosslength() const { return F.Crosslength; }
    void SetCrosslength(uint16_t value);

    TFont& TitleFont() { return FTitleFont; }
    const TFont& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFontAttributes& value);
    TFont& CaptionFont() { return FCaptionFont; }
    const TFont& CaptionFont() const { return FCaptionFont; }
    void SetCaptionFont(const TFontAttributes& value);
    TFont& LabelFont() { return FLabelFont; }
    const TFont& LabelFont() const { return FLabelFont; }
    void SetLabelFont(const TFontAttributes& value);

    static const std::vector<TPublishedProperty<TAppearance>>& Published();

private:
    // What ResetDefaults assigns.
    struct TFields {
        bool ShowTicks = true;
        bool ShowMarks = false;
        bool CrossAtZero = true;
        bool PrintLineStyle = true;
        bool PlotOffGraph = false;
        bool AllowDuplicates = false;
        bool ShowGraphLabels = true;
        TColor GridColor = clSilver;
        TColor AxesColor = clBlack;
        TColor BackgroundColor = clWhite;
        TColor MarginColor = clWhite;
        TColor CrossColor = clRed;
        TPenStyle GridStyle = psDot;
        std::string ErrorCaption = "MAX/MIN VALUES INCONSISTENT";
        std::string GraphTitle = "Zemplot 3.01";
        uint16_t MinSteps = 5;
        uint16_t MaxSteps = 50;
        uint16_t Crosslength = 4;
    };

    TGraphOwner& FOwner;
    TFields F;
    bool FPrintBkgndColor = false;
    TFont FTitleFont;
    TFont FCaptionFont;
    TFont FLabelFont;
};
