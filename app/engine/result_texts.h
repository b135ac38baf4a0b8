#pragma once

#include <string>
#include <string_view>

#include "app/engine/box_count_fit.h"

// The headers of the results table's two columns.
inline constexpr const char* kLogSizeHeader = "log(d)";
inline constexpr const char* kLogCountHeader = "log(N(d))";

// A caption and its value: a result label shows them joined, the exported table
// puts them in two cells.
struct TResultText {
    std::string Caption;
    std::string Value;
    std::string Joined() const { return Caption + Value; }
};

// Every text the results are shown in. Numbers use `decimalSeparator`.
struct TResultTexts {
    TResultText File;
    TResultText Slope;
    TResultText Intercept;
    TResultText Correlation;
    TResultText Dimension; // D, the negated slope
};

// `fileName` is the picture's name without its folder. An r that could not be
// computed has an empty value.
TResultTexts MakeResultTexts(std::string_view fileName, const TBoxCountFit& fit,
                             std::string_view decimalSeparator);

// The text of log10(d) or log10(N) in the results table.
std::string LogCellText(long double value, std::string_view decimalSeparator);
