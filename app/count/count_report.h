#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/count/picture_analysis.h"

using TTableRow = std::array<std::string, 2>;

// The cells the window's table holds when its results are exported: the file,
// slope, intercept and r rows, the header row, then one row per box size.
std::vector<TTableRow> ResultTableRows(const TPictureAnalysis& analysis);

// The rows in two aligned columns.
std::string TableText(std::span<const TTableRow> rows);
// The rows as comma-separated values, quoted where a cell needs it.
std::string CsvText(std::span<const TTableRow> rows);

// One picture as a JSON object, numbers at full double precision.
std::string JsonText(const TPictureAnalysis& analysis);
// Several pictures as a JSON array of such objects.
std::string JsonArrayText(std::span<const TPictureAnalysis> analyses);
