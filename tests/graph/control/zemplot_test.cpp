#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "counting_zemplot.h"
#include "graph/core/error.h"
#include "graph/core/integer_conventions.h"
#include "recording_canvas.h"

namespace {

std::vector<int32_t> NumbersOf(const TZemplot& graph)
{
    std::vector<int32_t> numbers;
    for (const TSeries* series = graph.FirstSeries(); series != nullptr; series = series->Next())
        numbers.push_back(series->Number());
    return numbers;
}

// Draws once at the default size so that the axes know their pixels per unit.
void Measure(TZemplot& graph)
{
    TRecordingCanvas canvas;
    graph.DrawOn(canvas, canvas, 200, 200);
}

}  // namespace

TEST(ZemplotTest, StartsWithTheDefaultsAndNothingToPlot)
{
    TZemplot graph;
    EXPECT_EQ(graph.width(), 200);
    EXPECT_EQ(graph.height(), 200);
    EXPECT_TRUE(graph.Plotting());
    EXPECT_TRUE(graph.DragAllowed());
    EXPECT_EQ(graph.Color(), clWhite);
    EXPECT_EQ(graph.Font(), TFontAttributes{});
    EXPECT_EQ(graph.FirstSeries(), nullptr);
    EXPECT_TRUE(graph.Marks().empty());
    EXPECT_EQ(graph.Legend().width(), 180);
    EXPECT_EQ(graph.YAxis_Second().Title(), "Second Y axis");
    EXPECT_FALSE(graph.YAxis_Second().ShowAxis());
    EXPECT_FALSE(graph.AxisHasData(nullptr));
}

TEST(ZemplotTest, SeriesAreKeptInNumberOrderAndMadeOnce)
{
    TZemplot graph;
    std::vector<int32_t> made;
    graph.SetOnNewSeries([&](TSeriesEventSender sender, int32_t index) {
        EXPECT_EQ(std::get<TZemplot*>(sender), &graph);
        made.push_back(index);
    });
    TSeries& five = graph.Series(5);
    graph.Series(3);
    EXPECT_EQ(&graph.Series(5), &five);
    EXPECT_EQ(made, (std::vector<int32_t>{5, 3}));
    EXPECT_EQ(NumbersOf(graph), (std::vector<int32_t>{3, 5}));

    // A number already present goes in before the series that has it.
    TSeries& second = graph.NewSeries(5);
    EXPECT_EQ(graph.FirstSeries()->Next(), &second);
    EXPECT_EQ(NumbersOf(graph), (std::vector<int32_t>{3, 5, 5}));
    graph.Series(9);
    graph.Series(-1);
    EXPECT_EQ(NumbersOf(graph), (std::vector<int32_t>{-1, 3, 5, 5, 9}));
}

// The graph keeps the end of its chain to append without a walk; whatever is made
// and deleted, at the end or elsewhere, the chain stays the one a walk would build.
TEST(ZemplotTest, SeriesMadeAndDeletedInAnyOrderKeepTheChainInNumberOrder)
{
    std::mt19937 random(15);
    TZemplot graph;
    graph.SetPlotting(false);
    std::vector<TSeries*> expected;
    const auto chain = [&] {
        std::vector<TSeries*> series;
        for (TSeries* each = graph.FirstSeries(); each != nullptr; each = each->Next())
            series.push_back(each);
        return series;
    };
    for (int step = 0; step < 2000; ++step) {
        if (!expected.empty() && random() % 3 == 0) {
            // The last one half of the time, so that the end moves back often.
            const std::size_t index = random() % 2 == 0 ? expected.size() - 1 : random() % expected.size();
            delete expected[index];
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
        } else {
            const auto number = static_cast<int32_t>(random() % 40);
            const auto place = std::find_if(expected.begin(), expected.end(),
                                            [&](const TSeries* series) { return series->Number() >= number; });
            expected.insert(place, &graph.NewSeries(number));
        }
        ASSERT_EQ(chain(), expected) << "step " << step;
    }
}

TEST(ZemplotTest, DeleteAllSeriesKeepsPlottingAsItWas)
{
    int deleted = 0;
    TCountingZemplot graph;
    graph.Series(1);
    graph.Series(2);
    graph.SetOnDeleteSeries([&](TSeriesEventSender, int32_t) { ++deleted; });
    graph.SetPlotting(false);
    graph.Paints = 0;
    graph.DeleteAllSeries();
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(graph.FirstSeries(), nullptr);
    EXPECT_FALSE(graph.Plotting());
    EXPECT_EQ(graph.Paints, 0);

    graph.Series(1);
    graph.SetPlotting(true);
    graph.Paints = 0;
    graph.DeleteAllSeries();
    EXPECT_EQ(graph.Paints, 1);
}

TEST(ZemplotTest, MarksStayOrderedAndAnIdIsOverwritten)
{
    TCountingZemplot graph;
    graph.SetMark(7, 1, 2, 3, 4, clRed, "seven", kMarkLine, true);
    graph.SetMark(2, 0, 0, 0, 0, clBlack, "two", kMarkVerticalLine, false);
    graph.SetMark(7, 5, 6, 7, 8, clGreen, "new seven", kMarkBox, false);
    ASSERT_EQ(graph.Marks().size(), 2u);
    EXPECT_EQ(graph.Marks()[0].ID, 2);
    const TZemplotMark expected{7, 5, 6, 7, 8, clGreen, "new seven", kMarkBox, false};
    EXPECT_EQ(graph.Marks()[1], expected);

    graph.ClearMarks();
    graph.Paints = 0;
    graph.ClearMarks();
    EXPECT_TRUE(graph.Marks().empty());
    EXPECT_EQ(graph.Paints, 1);
}

TEST(ZemplotTest, ValuesMapToPixelsAndBack)
{
    TZemplot graph;
    Measure(graph);
    EXPECT_EQ(graph.XToScreen(0), 40);
    EXPECT_EQ(graph.XToScreen(1), 185);
    EXPECT_EQ(graph.YToScreen(1), 30);
    EXPECT_EQ(graph.YToScreen(0), 160);
    EXPECT_DOUBLE_EQ(graph.ScreenToX(185), 1);
    EXPECT_DOUBLE_EQ(graph.ScreenToY(160), 0);
    EXPECT_DOUBLE_EQ(graph.ScreenToY2(30), 1);

    // Far off the plot the position is clamped, without the margin.
    EXPECT_EQ(graph.XToScreen(1e6), 20000);
    EXPECT_EQ(graph.XToScreen(-1e6), -20000);
    EXPECT_EQ(graph.YToScreen(1e6), -20000);
    EXPECT_EQ(graph.YToScreen(-1e6), 20000);
    EXPECT_EQ(graph.Y2ToScreen(-1e6), 20000);
}

TEST(ZemplotTest, LogarithmicAxesMapByTheLogarithm)
{
    TZemplot graph;
    graph.SetPlotting(false);
    graph.XAxis().SetMin(1);
    graph.XAxis().SetMax(100);
    graph.XAxis().SetLogScale(true);
    graph.YAxis().SetMin(1);
    graph.YAxis().SetMax(1000);
    graph.YAxis().SetLogScale(true);
    Measure(graph);
    EXPECT_EQ(graph.XToScreen(10), 40 + Rounded(145 / 2.0));
    EXPECT_EQ(graph.YToScreen(10), 30 + Rounded(130 * 2 / 3.0));
    EXPECT_NEAR(graph.ScreenToX(185), 100, 1e-9);
    EXPECT_NEAR(graph.ScreenToY(30), 1000, 1e-9);
}

TEST(ZemplotTest, AxisHasDataLooksAtTheSeriesAxis)
{
    TZemplot graph;
    graph.SetPlotting(false);
    TSeries& series = graph.Series(1);
    EXPECT_FALSE(graph.AxisHasData(&graph.XAxis()));
    series.AddPoint(1, 1);
    EXPECT_TRUE(graph.AxisHasData(nullptr));
    EXPECT_TRUE(graph.AxisHasData(&graph.XAxis()));
    EXPECT_TRUE(graph.AxisHasData(&graph.YAxis()));
    EXPECT_FALSE(graph.AxisHasData(&graph.YAxis_Second()));
    series.SetAxis(graph.YAxis_Second());
    EXPECT_TRUE(graph.AxisHasData(&graph.YAxis_Second()));
}

TEST(ZemplotTest, DataRangesComeFromTheActiveSeriesOfEachAxis)
{
    TZemplot graph;
    graph.SetPlotting(false);
    TSeries& first = graph.Series(1);
    first.AddPoint(2, 5);
    first.AddPoint(4, 7);
    TSeries& second = graph.Series(2);
    second.SetAxis(graph.YAxis_Second());
    second.AddPoint(-1, 100);
    TSeries& hidden = graph.Series(3);
    hidden.AddPoint(-50, -50);
    hidden.SetActive(false);
    graph.UpdateDataRanges();
    EXPECT_EQ(graph.XAxis().oMin, -1);
    EXPECT_EQ(graph.XAxis().oMax, 4);
    EXPECT_EQ(graph.YAxis().oMin, 5);
    EXPECT_EQ(graph.YAxis().oMax, 7);
    EXPECT_EQ(graph.YAxis_Second().oMin, 100);
    EXPECT_EQ(graph.YAxis_Second().oMax, 100);
}

TEST(ZemplotTest, AutomaticScalesFollowTheDataAndTellTheProgram)
{
    TZemplot graph;
    int rescales = 0;
    graph.SetOnRescale([&](TZemplot&) { ++rescales; });
    graph.XAxis().SetAutoSizing(true);
    graph.YAxis().SetAutoSizing(true);
    TSeries& series = graph.Series(1);
    series.AddPoint(3, 10);
    series.AddPoint(7, 40);
    EXPECT_TRUE(graph.ScalesValid());
    EXPECT_LE(graph.XAxis().Min(), 3);
    EXPECT_GE(graph.XAxis().Max(), 7);
    EXPECT_GE(graph.YAxis().Max(), 40);
    EXPECT_GT(rescales, 0);
}

TEST(ZemplotTest, PlottingSwitchedOnRepaintsAndRescales)
{
    TCountingZemplot graph;
    int rescales = 0;
    graph.SetOnRescale([&](TZemplot&) { ++rescales; });
    graph.SetPlotting(false);
    EXPECT_EQ(rescales, 0);
    graph.Paints = 0;
    graph.SetPlotting(true);
    EXPECT_EQ(graph.Paints, 1);
    EXPECT_EQ(rescales, 1);
}

TEST(ZemplotTest, PaintDrawsIntoTheBackingImageAtTheControlsSize)
{
    TZemplot graph;
    graph.resize(120, 90);
    int paintEnds = 0;
    graph.SetOnPaintEnd([&](TZemplot& sender, TCanvas&) {
        EXPECT_EQ(sender.DrawWidth(), 120);
        ++paintEnds;
    });
    graph.Appearance().SetMarginColor(clRed);
    EXPECT_EQ(paintEnds, 1);
    EXPECT_EQ(graph.BackingImage().size(), QSize(120, 90));
    EXPECT_EQ(graph.BackingImage().pixelColor(1, 1), QColor(Qt::red));
}

TEST(ZemplotTest, ADrawingErrorReachesTheCodeThatMadeTheChange)
{
    TZemplot graph;
    graph.SetOnPaintEnd([](TZemplot&, TCanvas&) { throw TVandrelError("drawn badly"); });
    EXPECT_THROW(graph.Appearance().SetGridColor(clRed), TVandrelError);
    EXPECT_EQ(graph.Appearance().GridColor(), clRed);
}

TEST(ZemplotTest, DrawingElsewherePutsTheControlsCanvasBackEvenAfterAnError)
{
    TZemplot graph;
    graph.Paint();
    TCanvas& own = graph.DrawCanvas();
    graph.SetOnPaintEnd([](TZemplot&, TCanvas&) { throw TVandrelError("drawn badly"); });
    TRecordingCanvas canvas;
    EXPECT_THROW(graph.DrawOn(canvas, canvas, 80, 60), TVandrelError);
    EXPECT_EQ(&graph.DrawCanvas(), &own);
    EXPECT_EQ(&graph.MeasureCanvas(), &own);
    EXPECT_EQ(graph.DrawWidth(), 200);
    EXPECT_FALSE(canvas.Calls.empty());
}

TEST(ZemplotTest, OnScreenTheControlShowsItsPictureInAFrame)
{
    TCountingZemplot graph;
    graph.resize(150, 120);
    const QImage shown = graph.grab().toImage();
    // The window system's paint found the picture out of size and drew it anew.
    EXPECT_EQ(graph.Paints, 1);
    EXPECT_EQ(graph.BackingImage().size(), QSize(150, 120));
    EXPECT_EQ(shown.pixelColor(75, 60), graph.BackingImage().pixelColor(75, 60));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(Qt::white));

    graph.SetBorderStyle(bsNone);
    EXPECT_EQ(graph.grab().toImage().pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(graph.Paints, 1);
}

TEST(ZemplotTest, ASettingChangedByARescaleHandlerPaintsInsideThePaint)
{
    TCountingZemplot graph;
    graph.XAxis().SetAutoSizing(true);
    // An auto-sized axis reports a rescale on every paint, so the handler changes
    // something only once: the nested paint's own rescale then paints no further.
    graph.SetOnRescale([](TZemplot& sender) { sender.Appearance().SetCrossColor(clGreen); });
    graph.Paints = 0;
    EXPECT_NO_THROW(graph.Series(1).AddPoint(5, 0.5));
    EXPECT_EQ(graph.Paints, 2);
    EXPECT_EQ(graph.Appearance().CrossColor(), clGreen);
}
