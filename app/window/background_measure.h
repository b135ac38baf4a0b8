#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include <QWidget>

#include "app/engine/count_progress.h"
#include "app/measure/shape_measurement.h"

// Runs `measure` (which builds the mask it counts and counts it, handing it the progress
// to report to and to stop by) on a thread of its own while the window goes on drawing
// itself. Input to the window waits for the first `progressDelay`; a counting that takes
// longer shows the sizes done in a dialog over `window` with a Cancel button, which
// blocks the window until the counting has ended. Returns nothing when cancelled; an
// error of the measurement is raised here, on the calling thread.
std::optional<TShapeMeasurement> MeasureWithProgress(QWidget& window,
                                                     const std::function<TShapeMeasurement(TCountProgress&)>& measure,
                                                     std::chrono::milliseconds progressDelay);
