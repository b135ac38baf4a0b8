#pragma once

#include <optional>

#include <pybind11/pybind11.h>

#include "app/engine/foreground_rule.h"
#include "app/measure/count_method.h"
#include "app/measure/shape_measurement.h"

// What measure() knows of the array beside the measurement itself.
struct TMeasuredArray {
    int Width = 0;
    int Height = 0;
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    double Decades = 0.0;
    std::optional<TForegroundRule> Rule; // none when the array was a mask
    bool Outline = false;
};

// A measurement with its details as a dict holding what vandrel-count's JSON holds for
// one picture, under the same keys, numbers that JSON writes as null as None. An
// array has no file: "file" and the provenance's "sha256" are left out.
pybind11::dict MeasurementDict(const TShapeMeasurement& measured, const TMeasuredArray& array);
