#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/engine/result_series.h"
#include "app/picture/memory_budget.h"
#include "graph/data/data_stats.h"

// The box counts of one picture and the line fitted to them.
struct TPictureAnalysis {
    std::string File; // as given
    uint32_t Rgb = 0;
    int Width = 0;
    int Height = 0;
    std::vector<TBoxCount> Counts;
    TCompStats Stats; // of the least-squares line, as the results display reads it
    // False when r could not be computed (fewer than three sizes, or no spread in
    // the counts); Stats.R then holds 0, as the window shows it.
    bool HasCorrelation = false;
};

// Counts the boxes holding `rgb` for every size and fits the line. `path` is in the
// system's own bytes. Raises an error when the picture cannot be read, is damaged,
// needs more than the whole budget, has no pixels, or has no pixel of the colour.
// The picture's share of the budget is held while it is read and counted, waiting
// for pictures counted at the same time to free it.
TPictureAnalysis AnalysePicture(const std::string& path, uint32_t rgb, std::span<const int> sizes,
                                TMemoryBudget& budget);

// One picture's analysis or the message of its failure.
struct TPictureOutcome {
    std::optional<TPictureAnalysis> Analysis;
    std::string Error;
};

// Analyses every picture, up to `jobs` at the same time within one memory budget;
// the outcomes are in the order of the paths.
std::vector<TPictureOutcome> AnalysePictures(std::span<const std::string> paths, uint32_t rgb,
                                             std::span<const int> sizes, int jobs, TMemoryBudget& budget);
