// The Python module: box counts and measurements of numpy arrays, by the functions
// vandrel-count uses.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "app/engine/box_counter.h"
#include "app/engine/box_size_series.h"
#include "app/engine/box_sizes.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/engine/outline.h"
#include "app/engine/scaling_fit.h"
#include "app/measure/shape_mask.h"
#include "graph/core/error.h"
#include "python/array_view.h"
#include "python/measurement_dict.h"
#include "python/method_arguments.h"

namespace py = pybind11;

namespace {

// The sizes vandrel-count fits when none are given, and those a list gives: ascending,
// each once, as a repeated point would weigh twice in the fit.
std::vector<int> MeasuredSizes(const py::object& sizes, TCountMethod& method)
{
    if (sizes.is_none())
        return BoxSizes(10, 100, 10);
    method.Sizes = TSizeSeries::List;
    std::vector<int> list = SizesArgument(sizes);
    std::ranges::sort(list);
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

void RequireTwoFittedSizes(const std::vector<int>& sizes, const TCountMethod& method)
{
    if (method.Fit != TFitChoice::Range) {
        if (sizes.size() < 2)
            throw py::value_error("sizes: only one box size is counted; a line needs at least two");
        return;
    }
    const auto fitted = std::ranges::count_if(sizes, [&](int d) { return d >= method.FitFrom && d <= method.FitTo; });
    if (fitted < 2)
        throw py::value_error("fit: the range (" + std::to_string(method.FitFrom) + ", " + std::to_string(method.FitTo) +
                              ") holds " + std::to_string(fitted) + " of the box sizes counted; a line needs at least two");
}

// The mask of the pixels to count, and the rule that chose them when the array held pixels.
std::pair<TPixelMask, std::optional<TForegroundRule>> ChosenMask(const TStridedBytes& view,
                                                                 const std::optional<TForegroundRule>& rule,
                                                                 bool outline)
{
    if (rule) {
        TShapeChoice shape;
        shape.Outline = outline;
        TShapeMask chosen = ShapeMaskOf(MaskOfPixels(view, *rule), shape);
        return {std::move(chosen.Mask), chosen.Rule};
    }
    TPixelMask cells = MaskOfCells(view);
    // A mask with a set cell keeps one in its outline.
    if (cells.Empty())
        throw TVandrelError("the mask holds no 1: there is nothing to count");
    return {outline ? OutlineOf(cells) : std::move(cells), std::nullopt};
}

py::dict Measure(const py::array& array, const py::object& colour, const py::object& threshold, int tolerance,
                 const py::object& side, const py::object& grid, const py::object& sizes, const py::object& fit,
                 bool outline)
{
    const TStridedBytes view = ArrayView(array, TArrayKind::Pixels, "measure");
    TCountMethod method;
    method.Details = true;
    method.Grid = GridArgument(grid);
    ReadFitArgument(fit, method);
    const std::vector<int> boxSizes = MeasuredSizes(sizes, method);
    RequireTwoFittedSizes(boxSizes, method);
    std::optional<TForegroundRule> rule;
    if (HoldsPixels(view))
        rule = ForegroundArgument(colour, threshold, tolerance, side);
    else if (!colour.is_none() || !threshold.is_none() || tolerance != 0 || !side.is_none())
        throw py::value_error("colour, threshold, tolerance and side choose the pixels of a picture; "
                              "a mask is counted as it is");

    TMeasuredArray measuredArray{view.Width, view.Height, method.Grid, method.Sizes,
                                 static_cast<double>(DecadesSpanned(boxSizes)), rule, outline};
    TShapeMeasurement measured;
    {
        py::gil_scoped_release released;
        auto [mask, chosenRule] = ChosenMask(view, rule, outline);
        measuredArray.Rule = chosenRule;
        measured = MeasureShape(mask, boxSizes, method);
    }
    return MeasurementDict(measured, measuredArray);
}

py::list Count(const py::array& array, const py::object& sizes, const py::object& grid)
{
    const TStridedBytes view = ArrayView(array, TArrayKind::Mask, "count");
    const std::vector<int> boxSizes = SizesArgument(sizes);
    const TGridMode mode = GridArgument(grid);
    std::vector<TOffsetCounts> counts(boxSizes.size());
    {
        py::gil_scoped_release released;
        const TPixelMask mask = MaskOfCells(view);
        if (mode == TGridMode::TopLeft) {
            TBoxCounter counter(mask);
            for (std::size_t i = 0; i < boxSizes.size(); ++i)
                counts[i].TopLeft = counter.Count(boxSizes[i]);
        } else {
            counts = CountOverOffsets(mask, boxSizes);
        }
    }
    py::list result;
    for (std::size_t i = 0; i < boxSizes.size(); ++i) {
        if (mode == TGridMode::All)
            result.append(py::dict(py::arg("d") = boxSizes[i], py::arg("topleft") = counts[i].TopLeft,
                                   py::arg("min") = counts[i].Min, py::arg("max") = counts[i].Max,
                                   py::arg("mean") = counts[i].Mean));
        else
            result.append(mode == TGridMode::TopLeft ? counts[i].TopLeft : counts[i].Min);
    }
    return result;
}

}  // namespace

PYBIND11_MODULE(vandrel, module)
{
    module.doc() = "Box-counting dimension of shapes in numpy arrays, measured as vandrel-count measures pictures.";
    module.attr("__version__") = VANDREL_VERSION;
    py::register_exception<TVandrelError>(module, "Error", PyExc_ValueError);

    module.def("measure", &Measure, py::arg("array"), py::kw_only(), py::arg("colour") = py::none(),
               py::arg("threshold") = py::none(), py::arg("tolerance") = 0, py::arg("side") = py::none(),
               py::arg("grid") = "topleft", py::arg("sizes") = py::none(), py::arg("fit") = "all",
               py::arg("outline") = false,
               R"(Measures the shape in `array` and returns what vandrel-count --details reports
for one picture, as a dict under the same keys.

array: H x W x 3 or 4 uint8 (RGB or RGBA; only opaque pixels belong to the shape),
    or an H x W mask (bool, or uint8 holding 0 and 1), counted as it is.
colour: the shape's colour, '#RRGGBB', 'RRGGBB', a name or 0xRRGGBB (default black);
    tolerance: how far (0 to 255) each of red, green and blue may lie from it.
threshold: instead of a colour, a luminance from 0 to 255 or 'otsu';
    side: 'dark' (default, at most the level) or 'light' (above it).
grid: 'topleft', 'min' (least count over every placement of the grid) or 'all'.
sizes: box sizes to count (default 10 to 100 by 10).
fit: 'all', 'auto' (the straightest range) or (from, to).
outline: keep only the shape's pixels that touch a pixel outside it.
Raises TypeError or ValueError for a wrong array or argument, vandrel.Error (a
ValueError) when no pixel belongs to the shape.)");

    module.def("count", &Count, py::arg("mask"), py::arg("sizes"), py::arg("grid") = "topleft",
               R"(The box counts N(d) of an H x W mask (bool, or uint8 holding 0 and 1), any
strides, for each box size of `sizes` in its order. grid 'topleft' counts boxes
laid from the top-left corner, 'min' the least count over every placement of the
grid; both give a list of ints. 'all' gives a dict per size: d, topleft, min, max
and mean over the placements.)");
}
