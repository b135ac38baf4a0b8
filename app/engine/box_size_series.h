#pragma once

#include <span>
#include <string_view>
#include <vector>

// Box sizes spaced evenly on the logarithmic axis: minimum·ratio^k rounded to whole
// pixels (halves away from zero), a size that rounds to the one before dropped, while
// not above `maximum`. The ratio must be above 1 and the minimum at least 1.
std::vector<int> GeometricBoxSizes(int minimum, int maximum, long double ratio);

// Box sizes typed as a list, "1,3,9,27": whole numbers from 1 to 65535 separated by
// commas, blanks allowed around each. The result is ascending and a size given twice
// counts once, since a repeated point would weigh twice in the fit.
std::vector<int> ParseBoxSizeList(std::string_view text);

// The decades the sizes span: log10(largest / smallest); 0 without sizes.
long double DecadesSpanned(std::span<const int> sizes);
