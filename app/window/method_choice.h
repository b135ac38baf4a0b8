#pragma once

#include <string>
#include <vector>

#include "app/engine/foreground_rule.h"
#include "app/measure/count_method.h"
#include "graph/control/graph_types.h"

// How the shape's pixels are told apart: the one colour asked at every analysis, a
// colour with a tolerance, or a luminance threshold.
enum class TForegroundKind { ExactColour, ColourWithin, Threshold };

// Everything the window's method dialog chooses, as plain values to remember between
// runs. The defaults are the window's own method.
struct TMethodChoice {
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    double Ratio = 2.0; // of geometric sizes
    std::string SizeList = "1,2,4,8,16,32,64,128"; // typed sizes
    TFitChoice Fit = TFitChoice::All;
    int FitFrom = 1;
    int FitTo = 256;

    TForegroundKind Foreground = TForegroundKind::ExactColour;
    int Tolerance = 16;
    bool Otsu = true; // else Level
    int Level = 128;
    TLuminanceSide Side = TLuminanceSide::Dark;
    bool InsideRectangle = false;

    bool operator==(const TMethodChoice&) const = default;
};

// The method the sizes, grid and fit say; with anything other than the window's own
// method or exact colour, its details too, so the uncertainty is shown.
TCountMethod CountMethodOf(const TMethodChoice& choice);
// Grid minimum, geometric sizes of ratio 2 and the automatic fit; the foreground stays.
TMethodChoice Recommended(TMethodChoice choice);
// The sizes to count: from `minimum` to `maximum` by `step`, or geometric over the same
// bounds, or the typed list. Raises an error for a list that cannot be read, and,
// when the method is not the window's own, for sizes that leave the fit fewer than two.
std::vector<int> ChosenBoxSizes(const TMethodChoice& choice, int minimum, int maximum, int step);
// The rule for the shape's pixels; `colour` is the colour of either colour kind.
TForegroundRule ForegroundRuleOf(const TMethodChoice& choice, TColor colour);
