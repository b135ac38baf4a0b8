#pragma once

#include <vector>

// The box sizes of one analysis: from `minimum`, while not above `maximum`, adding
// `step` (at least 1) each time. Empty when the minimum is above the maximum.
std::vector<int> BoxSizes(int minimum, int maximum, int step);
