// Box counts over every grid offset against the top-left grid alone, in the same
// run, on pictures 4096 pixels square: a random field (50 %) and Sierpinski's
// triangle (sparse, self-similar), for the sizes 1 to 256 by 1. Prints both times
// (the mask is made beforehand and not timed) and their ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "app/engine/box_counter.h"
#include "app/engine/box_sizes.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/engine/pixel_mask.h"
#include "bench/best_seconds.h"

namespace {

constexpr int kSide = 4096;

TPixelMask Dense()
{
    TPixelMask mask(kSide, kSide);
    std::mt19937 random(2);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (random() % 2 == 0)
                mask.Set(x, y);
    return mask;
}

TPixelMask Triangle()
{
    TPixelMask mask(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if ((x & y) == 0)
                mask.Set(x, y);
    return mask;
}

volatile uint64_t gSink; // keeps the work from being optimised away

}  // namespace

int main()
{
    const std::vector<int> sizes = BoxSizes(1, 256, 1);
    struct TCase { const char* Name; TPixelMask Mask; };
    const TCase cases[] = {{"dense 50 %", Dense()}, {"Sierpinski", Triangle()}};
    std::printf("%-11s %12s %15s %7s\n", "picture", "topleft ms", "all offsets ms", "ratio");
    for (const TCase& c : cases) {
        const double topLeft = BestSeconds(5, [&] {
            TBoxCounter counter(c.Mask);
            uint64_t total = 0;
            for (const int d : sizes)
                total += counter.Count(d);
            gSink = total;
        });
        const double offsets = BestSeconds(2, [&] {
            uint64_t total = 0;
            for (const TOffsetCounts& counts : CountOverOffsets(c.Mask, sizes))
                total += counts.Min;
            gSink = total;
        });
        std::printf("%-11s %12.1f %15.1f %6.1fx\n", c.Name, topLeft * 1e3, offsets * 1e3, offsets / topLeft);
    }
    return 0;
}
