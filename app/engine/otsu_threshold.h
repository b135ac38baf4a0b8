#pragma once

#include "app/engine/luminance.h"

// Otsu's level for `histogram`: the N that maximises the variance between the classes
// [0..N] and [N+1..255], weighed by their pixel counts. The variances are compared
// exactly. The splits across levels that no pixel has all give the same variance: of
// the first such run of best splits the middle one wins, so two grey levels with none
// in between split halfway. A histogram of one grey level gives that
// level (everything on the dark side), an empty one 0. Throws TVandrelError above 2^40
// pixels, past which the exact comparison would overflow.
int OtsuThreshold(const TLuminanceHistogram& histogram);
