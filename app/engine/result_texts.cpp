#include "app/engine/result_texts.h"

#include "graph/core/number_text.h"

TResultTexts MakeResultTexts(std::string_view fileName, const TBoxCountFit& fit,
                             std::string_view decimalSeparator)
{
    const TCompStats& stats = fit.Stats;
    const auto value = [&](double v) { return FormatFixed(v, 12, 4, decimalSeparator); };
    return {
        .File = {"File: ", std::string(fileName)},
        .Slope = {"Slope: ", value(stats.Slope)},
        .Intercept = {"Intercept: ", value(stats.Intercept)},
        .Correlation = {"Correlation coefficient (r): ", fit.HasCorrelation ? value(stats.R) : std::string()},
        .Dimension = {"D: ", FormatFixed(-static_cast<long double>(stats.Slope), 4, 2, decimalSeparator)},
    };
}

std::string LogCellText(long double value, std::string_view decimalSeparator)
{
    return FormatFixed(value, 18, 12, decimalSeparator);
}
