#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/count/count_method.h"
#include "app/engine/offset_counter.h"
#include "app/engine/offset_dimensions.h"
#include "app/engine/result_series.h"
#include "app/engine/scaling_fit.h"
#include "app/picture/memory_budget.h"
#include "graph/data/data_stats.h"

// The box counts of one picture and the line fitted to them.
struct TPictureAnalysis {
    std::string File; // as given
    uint32_t Rgb = 0;
    int Width = 0;
    int Height = 0;
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    std::vector<TBoxCount> Counts; // the counts of the grid mode, the minimum under "min" and "all"
    TCompStats Stats; // of the least-squares line, as the results display reads it
    // False when r could not be computed (fewer than three sizes, or no spread in
    // the counts); Stats.R then holds 0, as the window shows it.
    bool HasCorrelation = false;

    // Only with the method's details; Stats and HasCorrelation are then those of Fit.
    std::vector<TOffsetCounts> OffsetCounts; // every size, under the grid "all"
    std::optional<TOffsetDimensions> OffsetDimensions; // over the fitted sizes, under the grid "all"
    std::optional<TScalingFit> Fit; // over the chosen range of sizes
    std::vector<std::string> Warnings;
    std::string Sha256; // of the file, lower-case hex
    uint64_t ShapePixels = 0;
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
