#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/engine/result_series.h"
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

// Counts the boxes holding `rgb` for every size and fits the line. Raises an error
// when the picture cannot be read, has no pixels, or has no pixel of the colour.
TPictureAnalysis AnalysePicture(const std::string& path, uint32_t rgb, std::span<const int> sizes);

// One picture's analysis or the message of its failure.
struct TPictureOutcome {
    std::optional<TPictureAnalysis> Analysis;
    std::string Error;
};

// Analyses every picture, up to `jobs` at the same time; the outcomes are in the
// order of the paths.
std::vector<TPictureOutcome> AnalysePictures(std::span<const std::string> paths, uint32_t rgb,
                                             std::span<const int> sizes, int jobs);
