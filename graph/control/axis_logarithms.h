#pragma once

#include <cmath>

// The decimal logarithm and power of the axes. The constants are those the scaling
// has always used: the truncated 0.4342944818 puts the logarithm of an exact power
// of ten a hair below the integer, and 10^k from the exponential a hair above the
// power, and several roundings of the scaling depend on that.
inline double AxisLog10(double x)
{
    return std::log(x) * 0.4342944818;
}

inline double AxisPower10(double k)
{
    return std::exp(k * 2.3025850935414764);
}
