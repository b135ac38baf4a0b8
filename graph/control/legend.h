#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "graph/control/font.h"
#include "graph/control/graph_types.h"
#include "graph/control/published.h"

class TGraphOwner;

enum TBorderStyle : uint8_t { bsNone, bsSingle };
inline constexpr std::array<const char*, 2> kBorderStyleNames = {"bsNone", "bsSingle"};

// How the legend lists its entries: side by side or one under another.
enum TLegendStyle : uint8_t { lsAcross, lsDown };
inline constexpr std::array<const char*, 2> kLegendStyleNames = {"lsAcross", "lsDown"};

// The legend box of a graph: where it stands, its look and its font.
class TLegend {
public:
    TLegend(TGraphOwner& owner, const TFontAttributes& controlFont);
    TLegend(const TLegend&) = delete;
    TLegend& operator=(const TLegend&) = delete;

    // The defaults, assigned directly (nothing is painted): the fill takes the
    // graph's background colour and the width the control's width less 20.
    void ResetDefaults(TColor backgroundColor, int32_t controlWidth);

    bool visible() const { return F.visible; }
    void Setvisible(bool value);
    TColor color() const { return F.color; }
    void Setcolor(TColor value);
    TBorderStyle borderStyle() const { return F.borderStyle; }
    void SetborderStyle(TBorderStyle value);
    TLegendStyle Layout() const { return F.Layout; }
    void SetLayout(TLegendStyle value);
    int32_t top() const { return F.top; }
    void Settop(int32_t value);
    int32_t left() const { return F.left; }
    void Setleft(int32_t value);
    int32_t width() const { return F.width; }
    void Setwidth(int32_t value);
    int32_t height() const { return F.height; }
    void Setheight(int32_t value);
    int32_t SymbolSpace() const { return F.SymbolSpace; }
    void SetSymbolSpace(int32_t value);
    int32_t XMargin() const { return F.XMargin; }
    void SetXMargin(int32_t value);
    int32_t YMargin() const { return F.YMargin; }
    void SetYMargin(int32_t value);

    TFont& font() { return Ffont; }
    const TFont& font() const { return Ffont; }
    // Copies the attributes into the legend's own font, without a repaint of its own.
    void Setfont(const TFontAttributes& value);

    static const std::vector<TPublishedProperty<TLegend>>& Published();

private:
    struct TFields {
        bool visible = false;
        TColor color = clWhite;
        TBorderStyle borderStyle = bsNone;
        TLegendStyle Layout = lsAcross;
        int32_t top = 10;
        int32_t left = 10;
        int32_t width = 180;
        int32_t height = 20;
        int32_t SymbolSpace = 20;
        int32_t XMargin = 10;
        int32_t YMargin = 5;
    };

    TGraphOwner& FOwner;
    TFields F;
    TFont Ffont;
};
