#include "app/engine/fit_texts.h"

#include "graph/core/number_text.h"

TFitTexts MakeFitTexts(const TScalingFit& fit, std::string_view decimalSeparator)
{
    const auto fixed = [&](long double value, int decimals) { return FormatFixed(value, 12, decimals, decimalSeparator); };
    return {
        .Dimension = "D: " + fixed(-fit.Slope, 4),
        .Uncertainty = fit.HasUncertainty ? "95 %: " + fixed(fit.DimensionLow, 4) + " to " + fixed(fit.DimensionHigh, 4) +
                                                ", se " + fixed(fit.SlopeStandardError, 4)
                                          : std::string("No interval: two sizes fitted"),
        .Quality = "r\u00B2 " + (fit.HasCorrelation ? fixed(fit.R2, 5) : std::string("\u2013")) + ", n " +
                   std::to_string(fit.Count) + ", sizes " + std::to_string(fit.From) + " to " + std::to_string(fit.To),
    };
}
