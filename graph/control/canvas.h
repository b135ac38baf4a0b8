#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "graph/control/font.h"
#include "graph/control/graph_types.h"

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

// How the pen combines with what is already drawn: copy, or the exclusive-or
// family that a rubber band uses so that drawing it twice removes it.
enum TPenMode : uint8_t { pmCopy, pmXor, pmNotXor };

enum TBrushStyle : uint8_t { bsSolid, bsClear };

// Output precision of a font that must be scalable, as rotated text needs.
inline constexpr uint8_t kOutlinePrecision = 8;

// The full description of a font, as rotated text takes it, changes it and creates
// a font from it. Escapement and orientation are tenths of a degree counter-clockwise.
struct TFontDescription {
    int32_t Height = -9;
    int32_t Width = 0;
    int32_t Escapement = 0;
    int32_t Orientation = 0;
    int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = 1;
    uint8_t OutPrecision = 0;
    uint8_t ClipPrecision = 0;
    uint8_t Quality = 0;
    uint8_t PitchAndFamily = 0;
    std::string FaceName = "Arial";
    bool operator==(const TFontDescription&) const = default;
};

TFontDescription DescriptionOf(const TFontAttributes& font);

// A font created from a description; 0 is the canvas's own font object.
using TFontHandle = int32_t;

// What a canvas holds between calls: every drawing call uses the current state.
struct TCanvasState {
    TColor PenColor = clBlack;
    TPenStyle PenStyle = psSolid;
    int32_t PenWidth = 1;
    TPenMode PenMode = pmCopy;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = bsSolid;
    TColor BackgroundColor = clWhite;
    TFontAttributes Font;
    TFontHandle SelectedFont = 0;
    TPoint PenPosition;
};

// The drawing surface every drawing step of the graph talks to, and nothing else:
// the same steps then draw on screen, into pictures and into a recording for tests.
// Coordinates are device pixels; lines leave out their end point, and rectangles,
// ellipses and clip rectangles cover x1 ... x2 - 1 by y1 ... y2 - 1.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    const TCanvasState& State() const { return FState; }

    void SetPenColor(TColor value) { FState.PenColor = value; }
    // Ordinals of TPenStyle; psInsideFrame draws solid.
    void SetPenStyle(TPenStyle value) { FState.PenStyle = value; }
    int32_t PenWidth() const { return FState.PenWidth; }
    void SetPenWidth(int32_t value) { FState.PenWidth = value; }
    void SetPenMode(TPenMode value) { FState.PenMode = value; }

    // Choosing the brush makes the background its colour; a colour makes it solid.
    void SetBrushColor(TColor value);
    void SetBrushStyle(TBrushStyle value);
    // The colour in the gaps of a non-solid pen and behind text, while the brush is
    // solid. Returns the colour it replaces.
    TColor SetBackgroundColor(TColor value);

    // Changing the font object selects it again in place of a created font.
    void SetFont(const TFontAttributes& font);
    void SetFontColor(TColor value);
    // The size of the font object in points.
    int32_t FontSize() const;
    // The font text is now written in: a created one while it is selected.
    TFontDescription FontDescription() const;
    TFontHandle CreateFont(const TFontDescription& description);
    // Returns the font it replaces.
    TFontHandle SelectFont(TFontHandle font);
    void DeleteFont(TFontHandle font);

    void MoveTo(int32_t x, int32_t y) { FState.PenPosition = {x, y}; }
    // A line from the pen position, which then moves to (x, y).
    void LineTo(int32_t x, int32_t y);

    virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    // Closed, outlined with the pen and filled with the brush.
    virtual void Polygon(std::span<const TPoint> points) = 0;
    // Open, the pen only.
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // The text's top-left corner at (x, y), turned about it by the font's escapement.
    virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
    virtual int32_t TextWidth(const std::string& text) = 0;
    virtual int32_t TextHeight(const std::string& text) = 0;
    // Replaces the clip: later drawing stays inside the rectangle.
    virtual void ClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;

protected:
    virtual void Line(TPoint from, TPoint to) = 0;

private:
    TCanvasState FState;
    std::map<TFontHandle, TFontDescription> FCreatedFonts;
    TFontHandle FLastFontHandle = 0;
};

// Text turned by `tenthsOfDegree` counter-clockwise while it lives: a scalable copy
// of the canvas's font is made and selected, and the font it replaced is selected
// again (and the copy deleted) on every path.
class TRotatedFont {
public:
    TRotatedFont(TCanvas& canvas, int32_t tenthsOfDegree);
    ~TRotatedFont();
    TRotatedFont(const TRotatedFont&) = delete;
    TRotatedFont& operator=(const TRotatedFont&) = delete;

private:
    TCanvas& FCanvas;
    TFontHandle FRotated;
    TFontHandle FKept;
};
