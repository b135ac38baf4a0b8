#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/count/count_method.h"
#include "app/count/shape_measurement.h"
#include "app/picture/memory_budget.h"

// One picture's shape measured: its box counts and the line fitted to them.
struct TPictureAnalysis : TShapeMeasurement {
    std::string File; // as given
    uint32_t Rgb = 0;
    int Width = 0;
    int Height = 0;
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    std::string Sha256; // of the file, lower-case hex; only with the method's details
};

// Counts the boxes holding `rgb` for every size, laid as `method` says, and fits the
// line to the range it chooses; with details the fit has at least two sizes to take. `path` is in the
// system's own bytes. Raises an error when the picture cannot be read, is damaged,
// needs more than the whole budget, has no pixels, or has no pixel of the colour.
// The picture's share of the budget is held while it is read and counted, waiting
// for pictures counted at the same time to free it.
TPictureAnalysis AnalysePicture(const std::string& path, uint32_t rgb, std::span<const int> sizes,
                                const TCountMethod& method, TMemoryBudget& budget);

// One picture's analysis or the message of its failure.
struct TPictureOutcome {
    std::optional<TPictureAnalysis> Analysis;
    std::string Error;
};

// Analyses every picture, up to `jobs` at the same time within one memory budget;
// the outcomes are in the order of the paths.
std::vector<TPictureOutcome> AnalysePictures(std::span<const std::string> paths, uint32_t rgb,
                                             std::span<const int> sizes, const TCountMethod& method, int jobs,
                                             TMemoryBudget& budget);
