#pragma once

#include "app/spreadsheet/spreadsheet_export.h"
#include "app/window/analysis_result.h"

// The name of the workbook's second sheet.
inline constexpr const char* kDetailsSheetName = "Details";

// The sheet "Details": the picture, the colour and sizes asked for, the fit at full
// precision, when and by which version of Vandrel, then d, N(d), log10 d and
// log10 N(d) for every size. An r that could not be computed is an empty cell. An
// analysis with the fit's details adds, before the sizes, the foreground rule, the
// method, the fitted range, r², the slope's standard error, the 95 % interval of D
// (empty with two sizes), D over the grid offsets and the warnings, and, when the
// counts over every grid offset were kept, their top-left, least, largest and mean
// count for every size.
TValueSheet DetailsSheet(const TAnalysisResult& result);
