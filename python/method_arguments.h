#pragma once

#include <optional>
#include <vector>

#include <pybind11/pybind11.h>

#include "app/engine/foreground_rule.h"
#include "app/measure/count_method.h"

// The module's keyword arguments read into the types vandrel-count parses its options
// into, with its limits. Each raises ValueError (TypeError for a value of the wrong
// type) naming the argument and what it takes.

// "topleft" (or "top-left"), "min" or "all".
TGridMode GridArgument(const pybind11::object& grid);

// Box sizes from 1 to 65535, in the order given.
std::vector<int> SizesArgument(const pybind11::object& sizes);

// "all", "auto", or (from, to): the box sizes of the fit, both included. Sets the fit
// of `method`.
void ReadFitArgument(const pybind11::object& fit, TCountMethod& method);

// The rule that takes the shape's pixels: a colour (a name, "#RRGGBB", "RRGGBB" or an
// int 0xRRGGBB; black when None) within a tolerance, or a luminance threshold (0 to
// 255, or "otsu") on a side ("dark" when None).
TForegroundRule ForegroundArgument(const pybind11::object& colour, const pybind11::object& threshold, int tolerance,
                                   const pybind11::object& side);
