#pragma once

#include <cstdint>
#include <vector>

#include "graph/control/published.h"

class TGraphOwner;

// Margins, tick length, text offsets and print placement of a graph, in device
// pixels (the print values in percent of the page; they are kept and stored only).
class TDimensions {
public:
    explicit TDimensions(TGraphOwner& owner);

    // The defaults, assigned directly: nothing is painted.
    void ResetDefaults();

    uint16_t LeftMargin() const { return F.LeftMargin; }
    void SetLeftMargin(uint16_t value);
    uint16_t RightMargin() const { return F.RightMargin; }
    void SetRightMargin(uint16_t value);
    uint16_t TopMargin() const { return F.TopMargin; }
    void SetTopMargin(uint16_t value);
    uint16_t BottomMargin() const { return F.BottomMargin; }
    void SetBottomMargin(uint16_t value);
    uint16_t TickLength() const { return F.TickLength; }
    // 0 also switches the tick marks off; a later length does not switch them on.
    void SetTickLength(uint16_t value);
    int32_t XAxisTitleOffset() const { return F.XAxisTitleOffset; }
    void SetXAxisTitleOffset(int32_t value);
    int32_t YAxisTitleOffset() const { return F.YAxisTitleOffset; }
    void SetYAxisTitleOffset(int32_t value);
    int32_t XAxisLabelOffset() const { return F.XAxisLabelOffset; }
    void SetXAxisLabelOffset(int32_t value);
    int32_t YAxisLabelOffset() const { return F.YAxisLabelOffset; }
    void SetYAxisLabelOffset(int32_t value);
    int32_t GraphTitleOffset() const { return F.GraphTitleOffset; }
    void SetGraphTitleOffset(int32_t value);
    uint16_t PrintScalePct() const { return F.PrintScalePct; }
    void SetPrintScalePct(uint16_t value); // clamped to 20..100
    uint16_t PrintXOffsetPct() const { return F.PrintXOffsetPct; }
    void SetPrintXOffsetPct(uint16_t value); // at most 100
    uint16_t PrintYOffsetPct() const { return F.PrintYOffsetPct; }
    void SetPrintYOffsetPct(uint16_t value); // at most 100

    static const std::vector<TPublishedProperty<TDimensions>>& Published();

private:
    struct TFields {
        uint16_t LeftMargin = 40;
        uint16_t RightMargin = 15;
        uint16_t TopMargin = 30;
        uint16_t BottomMargin = 40;
        uint16_t TickLength = 4;
        int32_t XAxisTitleOffset = 4;
        int32_t YAxisTitleOffset = 4;
        int32_t XAxisLabelOffset = 2;
        int32_t YAxisLabelOffset = 2;
        int32_t GraphTitleOffset = 7;
        uint16_t PrintScalePct = 90;
        uint16_t PrintXOffsetPct = 5;
        uint16_t PrintYOffsetPct = 20;
    };

    TGraphOwner& FOwner;
    TFields F;
};
