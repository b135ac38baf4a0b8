#pragma once

#include <chrono>
#include <optional>
#include <span>

#include <QWidget>

#include "app/measure/count_method.h"
#include "app/measure/shape_measurement.h"

// Measures `mask` (covering `area`, for the warnings) on a thread of its own while the window goes on drawing itself.
// Input to the window waits for the first `progressDelay`; a counting that takes
// longer shows the sizes done in a dialog over `window` with a Cancel button, which
// blocks the window until the counting has ended. Returns nothing when cancelled; an
// error of the measurement is raised here, on the calling thread.
std::optional<TShapeMeasurement> MeasureWithProgress(QWidget& window, const TPixelMask& mask,
                                                     std::span<const int> sizes, const TCountMethod& method,
                                                     TMeasuredArea area, std::chrono::milliseconds progressDelay);
