#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/measure/count_method.h"
#include "app/measure/object_measurement.h"
#include "app/measure/shape_choice.h"
#include "app/measure/shape_measurement.h"
#include "app/picture/memory_budget.h"

// One picture's shape measured: its box counts and the line fitted to them, or, when
// its pieces are measured apart, theirs (the shape's own counts then stay empty).
struct TPictureAnalysis : TShapeMeasurement {
    std::string File; // as given
    int Width = 0;
    int Height = 0;
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    double Decades = 0.0; // spanned by the sizes counted
    TForegroundRule Foreground = TForegroundRule::Colour(0x000000); // Otsu's level filled in
    bool Outline = false;
    std::optional<TMaskRect> Region;
    uint64_t MeasuredArea = 0; // pixels of the picture, or of the region
    std::optional<TObjectsMeasurement> Objects; // with the pieces measured apart
    uint64_t MinPixels = 0; // of a piece measured
    std::string Sha256; // of the file, lower-case hex; only with the method's details
};

// Takes the pixels of the shape as `shape` says and counts the boxes holding them for
// every size, laid as `method` says, and fits the line to the range it chooses; with
// details the fit has at least two sizes to take. `path` is in the system's own
// bytes. Raises an error when the picture cannot be read, is damaged, needs more than
// the whole budget, has no pixels, has no pixel of the shape, or when the region does
// not lie inside it. The picture's share of the budget is held while it is read and
// counted, waiting for pictures counted at the same time to free it.
TPictureAnalysis AnalysePicture(const std::string& path, const TShapeChoice& shape, std::span<const int> sizes,
                                const TCountMethod& method, TMemoryBudget& budget);

// One picture's analysis or the message of its failure.
struct TPictureOutcome {
    std::optional<TPictureAnalysis> Analysis;
    std::string Error;
};

// Analyses every picture, up to `jobs` at the same time within one memory budget, and
// hands each outcome to `deliver` in the order of the paths as soon as it and those
// before it are done, one call at a time. When `deliver` returns false no further
// picture is started, and the outcomes not yet delivered are dropped.
void AnalysePicturesInOrder(std::span<const std::string> paths, const TShapeChoice& shape, std::span<const int> sizes,
                            const TCountMethod& method, int jobs, TMemoryBudget& budget,
                            const std::function<bool(std::size_t, TPictureOutcome&&)>& deliver);
