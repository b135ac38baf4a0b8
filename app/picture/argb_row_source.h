#pragma once

#include <functional>
#include <span>

#include "app/engine/pixel_mask.h"

// A picture decoded a row at a time, never whole, with the pixels converted to
// 0xAARRGGBB as Qt converts them to ARGB32, so that a rule judges them alike.
class TArgbRowSource {
public:
    virtual ~TArgbRowSource() = default;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Decodes the picture from its start and hands every pixel to `visit` once, in
    // runs: the pixels of row `y` at columns `firstX`, `firstX + step`, ... (an
    // interlaced picture's passes hold every few pixels of a row). Rows may come in
    // any order. Raises "The picture is damaged or incomplete: <name> (<why>)" when
    // the data ends early or is corrupt.
    using TVisit = std::function<void(int y, int firstX, int step, std::span<const TArgb> pixels)>;
    virtual void ForEachRun(const TVisit& visit) = 0;

protected:
    TArgbRowSource(int width, int height) : FWidth(width), FHeight(height) {}

private:
    int FWidth;
    int FHeight;
};
