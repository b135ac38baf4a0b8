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

// One picture as a JSON object on one line, ended by a newline: the object JsonText
// writes, or {"file": ..., "error": ...} for a picture that failed.
std::string JsonLine(const TPictureAnalysis& analysis);
std::string JsonErrorLine(const std::string& file, const std::string& error);

// The summary: a CSV header, then one row per picture (its fit's figures; a picture
// that failed has its error in the last column). The analysis carries its fit.
std::string SummaryHeader();
std::string SummaryRow(const TPictureAnalysis& analysis);
std::string SummaryErrorRow(const std::string& file, const std::string& error);
