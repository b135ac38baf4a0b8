#pragma once

#include <algorithm>
#include <chrono>

// The shortest of `runs` timings of `work`, in seconds: the least disturbed by the
// rest of the machine.
template <typename Work>
double BestSeconds(int runs, Work work)
{
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}
