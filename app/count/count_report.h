#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/count/picture_analysis.h"

using TTableRow = std::vector<std::string>;

// The cells the window's table holds when its results are exported: the file,
// slope, intercept and r rows, the header row, then one row per box size. With the
// pieces measured apart: a header row, then one row per piece (its box in the
// picture, pixels, D with its interval, r², the sizes fitted).
std::vector<TTableRow> ResultTableRows(const TPictureAnalysis& analysis);

// The warnings of an analysis, each as a line says it: those of each piece measured
// apart begin with the piece's number and box.
std::vector<std::string> WarningLines(const TPictureAnalysis& analysis);

// The rows in aligned columns, every cell but a row's last padded.
std::string TableText(std::span<const TTableRow> rows);
// The rows as comma-separated values, quoted where a cell needs it.
std::string CsvText(std::span<const TTableRow> rows);

// One picture as a JSON object, numbers at full double precision.
std::string JsonText(const TPictureAnalysis& analysis);
// Several pictures as a JSON array of such objects.
std::string JsonArrayText(std::span<const TPictureAnalysis> analyses);
