#pragma once

#include <cmath>
#include <limits>

// The three ways drawing and the application turn numbers into integers.
// Values beyond the range of int saturate and NaN gives 0, so a wild coordinate
// can never make the conversion itself undefined.

namespace integer_conventions_detail {
inline int Saturated(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
}  // namespace integer_conventions_detail

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int Rounded(double v)
{
    return integer_conventions_detail::Saturated(std::nearbyint(v));
}

// Divided by two, truncating toward zero (-3 -> -1).
inline int Halved(int v)
{
    return v / 2;
}

// The fraction dropped (-2.7 -> -2).
inline int Truncated(double v)
{
    return integer_conventions_detail::Saturated(std::trunc(v));
}
