#include "python/measurement_dict.h"

#include <cmath>
#include <string>

#include "app/engine/decimal_log.h"

namespace py = pybind11;

namespace {

py::object Number(long double value)
{
    const double number = static_cast<double>(value);
    return std::isfinite(number) ? py::object(py::float_(number)) : py::object(py::none());
}

py::list BoxesList(const TShapeMeasurement& measured)
{
    py::list boxes;
    for (std::size_t i = 0; i < measured.Counts.size(); ++i) {
        const TBoxCount& count = measured.Counts[i];
        py::dict box;
        box["d"] = count.BoxSize;
        box["count"] = count.Boxes;
        box["log_d"] = Number(Log10(count.BoxSize));
        box["log_count"] = Number(Log10(static_cast<long double>(count.Boxes)));
        if (!measured.OffsetCounts.empty()) {
            const TOffsetCounts& offsets = measured.OffsetCounts[i];
            box["topleft"] = offsets.TopLeft;
            box["min"] = offsets.Min;
            box["max"] = offsets.Max;
            box["mean"] = Number(offsets.Mean);
        }
        boxes.append(box);
    }
    return boxes;
}

py::dict ForegroundDict(const TShapeMeasurement& measured, const TMeasuredArray& array)
{
    py::dict foreground;
    if (!array.Rule) {
        foreground["rule"] = "mask";
    } else if (const TForegroundRule& rule = *array.Rule; rule.ByColour()) {
        foreground["rule"] = rule.Text();
        foreground["colour"] = ColourText(rule.Rgb());
        foreground["tolerance"] = rule.Tolerance();
    } else {
        foreground["rule"] = rule.Text();
        foreground["side"] = rule.Side() == TLuminanceSide::Dark ? "dark" : "light";
        foreground["level"] = rule.Level();
        foreground["otsu"] = rule.ByOtsu();
    }
    foreground["outline"] = array.Outline;
    foreground["shape_pixels"] = measured.ShapePixels;
    foreground["share"] = static_cast<double>(measured.ShapePixels) /
                          (static_cast<double>(array.Width) * static_cast<double>(array.Height));
    return foreground;
}

}  // namespace

py::dict MeasurementDict(const TShapeMeasurement& measured, const TMeasuredArray& array)
{
    const TScalingFit& fit = *measured.Fit;
    py::dict result;
    if (array.Rule && array.Rule->ByColour())
        result["colour"] = ColourText(array.Rule->Rgb());
    result["width"] = array.Width;
    result["height"] = array.Height;
    result["boxes"] = BoxesList(measured);
    result["slope"] = Number(measured.Stats.Slope);
    result["intercept"] = Number(measured.Stats.Intercept);
    result["r"] = measured.HasCorrelation ? Number(measured.Stats.R) : py::none();
    result["D"] = Number(-measured.Stats.Slope);
    result["grid"] = GridModeName(array.Grid);
    result["sizes"] = SizeSeriesName(array.Sizes);
    result["decades"] = Number(array.Decades);
    result["fit"] = py::dict(py::arg("from") = fit.From, py::arg("to") = fit.To, py::arg("n") = fit.Count);
    result["r2"] = fit.HasCorrelation ? Number(fit.R2) : py::none();
    result["se"] = fit.HasUncertainty ? Number(fit.SlopeStandardError) : py::none();
    py::object interval = py::none();
    if (fit.HasUncertainty) {
        py::list bounds;
        bounds.append(Number(fit.DimensionLow));
        bounds.append(Number(fit.DimensionHigh));
        interval = bounds;
    }
    result["ci95"] = interval;
    py::list slopes;
    for (const long double slope : fit.LocalSlopes)
        slopes.append(Number(slope));
    result["local_slopes"] = slopes;
    if (const std::optional<TOffsetDimensions>& spread = measured.OffsetDimensions)
        result["offset_dimensions"] = py::dict(py::arg("min") = Number(spread->Min), py::arg("mean") = Number(spread->Mean),
                                               py::arg("topleft") = Number(spread->TopLeft),
                                               py::arg("spread") = Number(spread->Spread()));
    py::list warnings;
    for (const std::string& warning : measured.Warnings)
        warnings.append(warning);
    result["warnings"] = warnings;
    result["foreground"] = ForegroundDict(measured, array);
    result["provenance"] = py::dict(py::arg("version") = VANDREL_VERSION, py::arg("width") = array.Width,
                                    py::arg("height") = array.Height, py::arg("shape_pixels") = measured.ShapePixels);
    return result;
}
