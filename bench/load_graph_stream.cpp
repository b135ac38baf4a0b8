// Loading a graph stream must cost the same per series and per mark however many the
// stream holds. Prints the load time of n and 2n series (without points), and of n
// and 2n marks stored in falling ID order, and each second time as a ratio of the
// first (about 2 is right; 4 would mean a cost that grows with the square).

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <QApplication>

#include "graph/control/zemplot.h"
#include "graph/control/files/graph_stream.h"
#include "graph/stream/memory_stream.h"
#include "graph/control/files/section_layouts.h"

namespace {

TMemoryStream StreamOfSeries(int count)
{
    TZemplot graph;
    graph.SetPlotting(false);
    for (int number = 1; number <= count; ++number)
        graph.NewSeries(number);
    TMemoryStream stream;
    graph.SaveGraphToStream(stream, false);
    return stream;
}

// No graph stores its marks in falling ID order, so this stream is put together: a
// graph without series or marks, cut before its two counts, then the counts and
// the marks block.
TMemoryStream StreamOfFallingMarks(int count)
{
    TZemplot empty;
    TMemoryStream stream;
    empty.SaveGraphToStream(stream, false);
    std::vector<uint8_t> bytes(stream.Bytes().begin(), stream.Bytes().end() - 14);
    TMemoryStream marks(std::move(bytes));
    marks.Seek(marks.Size());
    {
        TxyWriter writer(marks);
        WriteCountValue(writer, 0);
        WriteCountValue(writer, static_cast<uint16_t>(count));
    }
    {
        TxyWriter writer(marks);
        for (int id = count; id > 0; --id)
            WriteMarkSection(writer, {id, 1.0, 2.0, 0, 0, 0, "mark", 0, false});
    }
    const std::array<uint8_t, 4> noExtension{};
    marks.Write(noExtension.data(), noExtension.size());
    return marks;
}

// The best of several loads, so that one disturbed run does not decide.
double BestLoadMilliseconds(const std::function<TMemoryStream()>& make, int runs)
{
    const TMemoryStream stored = make();
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        TMemoryStream stream(std::vector<uint8_t>(stored.Bytes().begin(), stored.Bytes().end()));
        TZemplot graph;
        const auto start = std::chrono::steady_clock::now();
        graph.LoadGraphFromStream(stream);
        const double elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = run == 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int kCount = 16'000;
    // The first load grows the heap page by page; left out, the larger stream would
    // pay for that and look dearer than it is.
    BestLoadMilliseconds([] { return StreamOfSeries(2 * kCount); }, 1);

    const double series = BestLoadMilliseconds([] { return StreamOfSeries(kCount); }, 3);
    const double doubleSeries = BestLoadMilliseconds([] { return StreamOfSeries(2 * kCount); }, 3);
    std::printf("load %d series: %8.1f ms   %d series: %8.1f ms   ratio %.2f\n", kCount, series, 2 * kCount,
                doubleSeries, doubleSeries / series);
    const double marks = BestLoadMilliseconds([] { return StreamOfFallingMarks(kCount); }, 3);
    const double doubleMarks = BestLoadMilliseconds([] { return StreamOfFallingMarks(2 * kCount); }, 3);
    std::printf("load %d marks:  %8.1f ms   %d marks:  %8.1f ms   ratio %.2f\n", kCount, marks, 2 * kCount,
                doubleMarks, doubleMarks / marks);
    return 0;
}
