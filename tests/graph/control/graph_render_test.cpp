// A whole graph drawn through the Qt canvas into a picture, checked by its pixels.
// The picture is saved in the build tree (graph_render.png) for a person to look at.

#include <gtest/gtest.h>

#include <QImage>

#include "graph/control/qt_canvas.h"
#include "graph/control/zemplot.h"

namespace {

constexpr TColor kMargin = 0xF0E0D0;
constexpr TColor kMagenta = 0xFF00FF;

class GraphRenderTest : public testing::Test {
protected:
    void SetUp() override
    {
        graph.SetPlotting(false);
        graph.Appearance().SetMarginColor(kMargin);
        graph.Appearance().SetGraphTitle("Two series");
        graph.XAxis().SetMax(10);
        graph.YAxis().SetMax(100);
        graph.YAxis().SetStepSize(20);
        graph.XAxis().SetStepSize(2);

        TSeries& rising = graph.Series(1);
        for (int x = 1; x <= 9; ++x)
            rising.AddPoint(x, 10 * x + (x % 2 == 0 ? 4 : -4));
        rising.SetRegressionType(1);
        rising.SetRegressionLineColor(clBlack);
        rising.SetRegressionLineStyle(psDashDot);
        rising.SetShowInLegend(4);

        TSeries& flat = graph.Series(2);
        for (int x = 0; x <= 12; ++x) // runs past the x axis's end
            flat.AddPoint(x, 30);
        flat.SetShowInLegend(4);

        graph.Appearance().SetShowMarks(true);
        graph.SetMark(1, 0, 50, 0, 0, kMagenta, "half", kMarkHorizontalLine, true);
        graph.SetMark(2, 5, 80, 6, 0, kMagenta, "box", kMarkBox, false);
        graph.Legend().Setvisible(true);
        graph.Legend().SetborderStyle(bsSingle);
        graph.Legend().Setcolor(0xE0FFFF);
        graph.SetPlotting(true);

        picture = QImage(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        TQtCanvas canvas(picture);
        graph.DrawOn(canvas, canvas, 400, 300);
        canvas.End();
        picture.save(QStringLiteral(RENDER_OUTPUT_DIR "/graph_render.png"));
    }

    QColor At(int x, int y) const { return picture.pixelColor(x, y); }

    TZemplot graph;
    QImage picture;
};

}  // namespace

TEST_F(GraphRenderTest, MarginsAndPlotBackgroundFillTheirAreas)
{
    EXPECT_EQ(At(2, 2), ToQColor(kMargin));
    EXPECT_EQ(At(399, 299), ToQColor(kMargin));
    EXPECT_EQ(At(graph.XToScreen(9.5), graph.YToScreen(95)), QColor(Qt::white));
}

TEST_F(GraphRenderTest, SymbolsAreFilledInTheirSeriesColour)
{
    // Series 1: green squares; series 2: blue circles.
    EXPECT_EQ(At(graph.XToScreen(3), graph.YToScreen(26)), ToQColor(clGreen));
    EXPECT_EQ(At(graph.XToScreen(1) + 1, graph.YToScreen(6) + 1), ToQColor(clGreen));
    EXPECT_EQ(At(graph.XToScreen(4), graph.YToScreen(30)), ToQColor(0xFF0000));
}

TEST_F(GraphRenderTest, LinesStayInsideThePlotAndSymbolsStopAtItsEdge)
{
    const int right = graph.XToScreen(10);
    const int y = graph.YToScreen(30);
    EXPECT_NE(At(right - 3, y), QColor(Qt::white)); // the dashed line or a symbol
    for (int x = right + 2; x < 400; ++x)
        EXPECT_EQ(At(x, y), ToQColor(kMargin)) << x;
}

TEST_F(GraphRenderTest, RegressionLineAndMarksAreDrawn)
{
    // The fitted line y = 10x runs through (5, 50): dash-dot black along it.
    int black = 0;
    for (int x = graph.XToScreen(2); x < graph.XToScreen(8); ++x) {
        const double value = 10 * graph.ScreenToX(x);
        for (int dy = -1; dy <= 1; ++dy)
            black += At(x, graph.YToScreen(value) + dy) == QColor(Qt::black) ? 1 : 0;
    }
    EXPECT_GT(black, 40);

    // The horizontal mark crosses the whole plot at 50, in one unbroken colour.
    const int markY = graph.YToScreen(50);
    EXPECT_EQ(At(graph.XToScreen(0.5), markY), ToQColor(kMagenta));
    EXPECT_EQ(At(graph.XToScreen(9.5), markY), ToQColor(kMagenta));
    // The box mark is an outline only.
    const QPoint centre(graph.XToScreen(5), graph.YToScreen(80));
    EXPECT_EQ(At(centre.x() - 6, centre.y()), ToQColor(kMagenta));
    EXPECT_EQ(At(centre.x(), centre.y()), QColor(Qt::white));
}

TEST_F(GraphRenderTest, LegendBoxHasABorderAndItsEntries)
{
    EXPECT_EQ(At(10, 10), QColor(Qt::black));
    EXPECT_EQ(At(12, 12), ToQColor(0xE0FFFF));
    // The names are written in the box: dark pixels after the symbol space.
    int dark = 0;
    for (int x = 42; x < 100; ++x)
        for (int y = 15; y < 28; ++y)
            dark += At(x, y).lightness() < 128 ? 1 : 0;
    EXPECT_GT(dark, 20);
}
