#pragma once

#include <span>
#include <string_view>

#include "app/engine/pixel_mask.h"

// A shape of known box-counting dimension, as vandrel-fractal draws it and a self-test
// measures it.
struct TReferenceShape {
    std::string_view Name;  // as typed on the command line
    std::string_view Title; // as a person reads it
    double ExactDimension;
    // How far a measurement may stray from ExactDimension and still pass: tight for
    // the shapes that are exact to the pixel, wider for those drawn with lines.
    double Tolerance;
    int DefaultSize;
    // 3 or 2 when the size must be a power of it (the shape is exact only then); 0
    // when any size will do.
    int SizeBase;
    bool DrawnWithLines;
    // The ratio of geometric box sizes the self-test measures the shape with: its own
    // scale factor, so that every size divides the shape's cells (and DefaultSize is
    // a power of it).
    int SelfTestRatio;
    // The shape alone, touching every edge of its mask; `line` is the width of its
    // lines, ignored by shapes without lines.
    TPixelMask (*Draw)(int size, int line);
};

// Every shape, in the order they are listed to a user.
std::span<const TReferenceShape> ReferenceShapes();

// The shape of that name, or nullptr.
const TReferenceShape* FindReferenceShape(std::string_view name);

// `shape` with `marginX` blank columns on its left and right and `marginY` blank rows
// above and below it.
TPixelMask WithMargin(const TPixelMask& shape, int marginX, int marginY);
