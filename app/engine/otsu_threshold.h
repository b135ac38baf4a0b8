#pragma once

#include "app/engine/luminance.h"

// Otsu's level for `histogram`: the N that maximises the variance between the classes
// [0..N] and [N+1..255], weighed by their pixel counts. The variances are compared
// exactly; of equal ones the lowest N wins, so between two grey levels with none in
// between the answer is the darker level. A histogram of one grey level gives that
// level (everything on the dark side), an empty one 0. Throws TVandrelError above 2^40
// pixels, past which the exact comparison would overflow.
int OtsuThreshold(const TLuminanceHistogram& histogram);
