// Painting a series must cost the same per point however many points it has.
// Paints a graph of 1000 x 800 pixels holding 10^5 and then 10^6 points (joined by
// a line, with square symbols) and prints the time per paint, the time per point,
// and the ratio of the two paint times (about 10 is linear in the points). The
// empty graph's paint is printed as the baseline the points are added to.

#include <cmath>
#include <cstdio>

#include <QApplication>

#include "bench/best_seconds.h"
#include "graph/control/zemplot.h"

namespace {

void Fill(TZemplot& graph, int points)
{
    graph.DeleteAllSeries();
    TSeries& series = graph.Series(1);
    series.SetMaxPoints(0);
    series.SetUpdating(true);
    // A wandering signal across the whole plot, so that lines and symbols land
    // everywhere rather than on one pixel.
    for (int i = 0; i < points; ++i)
        series.AddPoint(static_cast<double>(i) / points, 0.5 + 0.45 * std::sin(i * 0.001) * std::cos(i * 0.37));
    series.SetUpdating(false);
}

// The best of several paints, in milliseconds.
double BestPaintMilliseconds(TZemplot& graph, int runs)
{
    return BestSeconds(runs, [&] { graph.Paint(); }) * 1e3;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TZemplot graph;
    graph.resize(1000, 800);

    const double empty = BestPaintMilliseconds(graph, 20);
    Fill(graph, 100'000);
    const double small = BestPaintMilliseconds(graph, 5);
    Fill(graph, 1'000'000);
    const double large = BestPaintMilliseconds(graph, 3);

    std::printf("paint 1000 x 800, empty graph:  %8.2f ms\n", empty);
    std::printf("paint, 10^5 points:             %8.2f ms  (%.0f ns/point)\n", small, (small - empty) * 1e6 / 1e5);
    std::printf("paint, 10^6 points:             %8.2f ms  (%.0f ns/point)\n", large, (large - empty) * 1e6 / 1e6);
    std::printf("ratio 10^6 / 10^5 points: %.2f\n", (large - empty) / (small - empty));
    return 0;
}
