// Appending points in ascending x must cost the same per point however long the
// series already is. Prints the cost per point at 10^5 and at 10^6 points, and the
// second as a ratio of the first (about 1 is right; 10 would mean linear cost).

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "graph/data/data_series.h"

namespace {

double NanosecondsPerPoint(int points)
{
    TDataSeries series;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < points; ++i)
        series.AddPoint(i * 0.5, (i % 97) * 0.25);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / points;
}

// The best of several runs, so that one disturbed run does not decide.
double BestOf(int runs, int points)
{
    double best = NanosecondsPerPoint(points);
    for (int run = 1; run < runs; ++run)
        best = std::min(best, NanosecondsPerPoint(points));
    return best;
}

}  // namespace

int main()
{
    const double small = BestOf(10, 100'000);
    const double large = BestOf(5, 1'000'000);
    std::printf("append, ascending x:   10^5 points %.1f ns/point   10^6 points %.1f ns/point\n", small, large);
    std::printf("ratio 10^6 / 10^5: %.2f\n", large / small);
    return 0;
}
