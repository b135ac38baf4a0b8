#pragma once

#include <string>
#include <string_view>

#include "app/engine/scaling_fit.h"

// A fit's details in words, as the window's labels show them. Numbers use
// `decimalSeparator`.
struct TFitTexts {
    std::string Dimension; // "D: 1.8928"
    // "95 %: 1.8901 to 1.8955, se 0.0012", or why there is no interval
    std::string Uncertainty;
    std::string Quality; // "r² 0.99998, n 7, sizes 1 to 729"
};

TFitTexts MakeFitTexts(const TScalingFit& fit, std::string_view decimalSeparator);
