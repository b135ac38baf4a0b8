#include "app/window/method_choice.h"

#include <algorithm>
#include <string>

#include "app/engine/box_size_series.h"
#include "app/engine/box_sizes.h"
#include "graph/core/error.h"

TCountMethod CountMethodOf(const TMethodChoice& choice)
{
    TCountMethod method;
    method.Grid = choice.Grid;
    method.Sizes = choice.Sizes;
    method.Fit = choice.Fit;
    if (choice.Fit == TFitChoice::Range) {
        method.FitFrom = choice.FitFrom;
        method.FitTo = choice.FitTo;
    }
    const TCountMethod own;
    method.Details = method.Grid != own.Grid || method.Sizes != own.Sizes || method.Fit != own.Fit
                     || choice.Foreground != TForegroundKind::ExactColour || choice.InsideRectangle;
    return method;
}

TMethodChoice Recommended(TMethodChoice choice)
{
    choice.Grid = TGridMode::Min;
    choice.Sizes = TSizeSeries::Geometric;
    choice.Ratio = 2.0;
    choice.Fit = TFitChoice::Auto;
    return choice;
}

namespace {

std::vector<int> SizesOfSeries(const TMethodChoice& choice, int minimum, int maximum, int step)
{
    switch (choice.Sizes) {
    case TSizeSeries::Geometric:
        return GeometricBoxSizes(minimum, maximum, choice.Ratio);
    case TSizeSeries::List:
        return ParseBoxSizeList(choice.SizeList);
    case TSizeSeries::Linear:
        break;
    }
    return BoxSizes(minimum, maximum, step);
}

}  // namespace

std::vector<int> ChosenBoxSizes(const TMethodChoice& choice, int minimum, int maximum, int step)
{
    std::vector<int> sizes = SizesOfSeries(choice, minimum, maximum, step);
    // Refused here, before the counting clears the last results, rather than by the fit.
    if (!CountMethodOf(choice).Details)
        return sizes;
    if (sizes.size() < 2)
        throw TVandrelError("The fit needs at least two box sizes; the sizes chosen give "
                            + std::to_string(sizes.size()));
    if (choice.Fit == TFitChoice::Range) {
        const auto fitted = std::ranges::count_if(sizes, [&](int d) { return d >= choice.FitFrom && d <= choice.FitTo; });
        if (fitted < 2)
            throw TVandrelError("The fit needs at least two box sizes; the sizes from " + std::to_string(choice.FitFrom)
                                + " to " + std::to_string(choice.FitTo) + " hold " + std::to_string(fitted));
    }
    return sizes;
}

TForegroundRule ForegroundRuleOf(const TMethodChoice& choice, TColor colour)
{
    const auto rgb = static_cast<uint32_t>(RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour));
    switch (choice.Foreground) {
    case TForegroundKind::ColourWithin:
        return TForegroundRule::Colour(rgb, choice.Tolerance);
    case TForegroundKind::Threshold:
        return choice.Otsu ? TForegroundRule::Otsu(choice.Side) : TForegroundRule::Luminance(choice.Level, choice.Side);
    case TForegroundKind::ExactColour:
        break;
    }
    return TForegroundRule::Colour(rgb);
}
