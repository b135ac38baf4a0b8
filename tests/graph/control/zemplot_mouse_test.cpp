#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include <QApplication>
#include <QMouseEvent>

#include "counting_zemplot.h"
#include "graph/core/error.h"

namespace {

constexpr auto kPress = QEvent::MouseButtonPress;
constexpr auto kMove = QEvent::MouseMove;
constexpr auto kRelease = QEvent::MouseButtonRelease;

// Straight to the control; a move carries the held left button as the window system's do.
void Mouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::KeyboardModifiers shift = Qt::ShiftModifier,
           Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButton changed = type == kMove ? Qt::NoButton : button;
    const Qt::MouseButtons held = type == kMove ? Qt::LeftButton : type == kPress ? button : Qt::NoButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), changed, held, shift);
    QApplication::sendEvent(&widget, &event);
}

void Drag(QWidget& widget, QPoint from, QPoint to, Qt::KeyboardModifiers shift = Qt::ShiftModifier)
{
    Mouse(widget, kPress, from, shift);
    Mouse(widget, kMove, to, shift);
    Mouse(widget, kRelease, to, shift);
}

// AutoSizing, Min and Max of the three axes.
std::vector<double> ScalesOf(TZemplot& graph)
{
    std::vector<double> scales;
    for (const TAxis* axis : {&graph.XAxis(), &graph.YAxis(), &graph.YAxis_Second()})
        scales.insert(scales.end(), {double(axis->AutoSizing()), axis->Min(), axis->Max()});
    return scales;
}

}  // namespace

TEST(ZemplotMouseTest, AShiftDragZoomsAllThreeAxesToTheBand)
{
    TZemplot graph;
    graph.YAxis_Second().SetMax(13); // zoomed by its own scale, though hidden
    std::vector<std::array<int, 5>> raised; // handler, button, modifiers, x, y
    auto record = [&raised](int handler) {
        return [&raised, handler](TZemplot&, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
            raised.push_back({handler, int(button), int(shift.toInt()), x, y});
        };
    };
    graph.SetOnMouseDown(record(0));
    graph.SetOnMouseMove(record(1));
    graph.SetOnMouseUp(record(2));
    Mouse(graph, kPress, {100, 60});
    EXPECT_EQ(graph.cursor().shape(), Qt::CrossCursor);
    Mouse(graph, kMove, {149.6, 120.4}); // rounded to the nearest pixel
    EXPECT_EQ(graph.Band(), (TBandRect{100, 60, 150, 120}));
    // A dotted line over the picture, not in it.
    auto blackOnLeftEdge = [&graph] {
        const QImage shown = graph.grab().toImage();
        int black = 0;
        for (int y = 61; y < 120; ++y)
            black += shown.pixelColor(100, y) == QColor(Qt::black) ? 1 : 0;
        return black;
    };
    EXPECT_TRUE(blackOnLeftEdge() > 5 && blackOnLeftEdge() < 55) << blackOnLeftEdge();
    EXPECT_EQ(graph.BackingImage().pixelColor(100, 90), QColor(Qt::white));

    // Any button's release ends the zoom.
    Mouse(graph, kRelease, {150, 120}, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(graph.Band(), TBandRect{});
    EXPECT_EQ(blackOnLeftEdge(), 0);
    EXPECT_EQ(graph.cursor().shape(), Qt::ArrowCursor);
    const double x1 = 60.0 / 145, x2 = 110.0 / 145, y1 = 40.0 / 130, y2 = 100.0 / 130;
    const std::vector<double> zoomed{0, x1, x2, 0, y1, y2, 0, 4, 10};
    for (size_t i = 0; i < zoomed.size(); ++i)
        EXPECT_NEAR(ScalesOf(graph)[i], zoomed[i], 1e-9) << i;
    EXPECT_TRUE(graph.Zoomed());
    const int shift = int(Qt::ShiftModifier);
    const std::vector<std::array<int, 5>> expected{
        {0, Qt::LeftButton, shift, 100, 60}, {1, Qt::NoButton, shift, 150, 120}, {2, Qt::RightButton, 0, 150, 120}};
    EXPECT_EQ(raised, expected);
}

TEST(ZemplotMouseTest, AShiftClickRestoresTheScalesOfBeforeTheFirstZoom)
{
    TCountingZemplot graph;
    graph.XAxis().SetMin(0);
    graph.XAxis().SetMax(14.5);
    // The automatic axis finds its scale again from the data.
    graph.YAxis().SetAutoSizing(true);
    graph.Series(1).AddPoint(1, 3);
    graph.Series(1).AddPoint(10, 40);
    const auto before = ScalesOf(graph);
    Drag(graph, {40, 30}, {100, 95});
    EXPECT_NEAR(graph.XAxis().Max(), 6, 1e-9);
    Drag(graph, {40, 30}, {100, 95});
    EXPECT_NEAR(graph.XAxis().Max(), 6 * 60.0 / 145, 1e-9);

    graph.Paints = 0;
    Drag(graph, {100, 100}, {100, 100});
    EXPECT_EQ(ScalesOf(graph), before);
    EXPECT_FALSE(graph.Zoomed());
    EXPECT_EQ(graph.Paints, 2); // once without the data, once with
    // Four pixels either way is still a click, five a zoom.
    Drag(graph, {100, 100}, {104, 150});
    EXPECT_FALSE(graph.Zoomed());
    Drag(graph, {100, 100}, {150, 96});
    EXPECT_FALSE(graph.Zoomed());
    EXPECT_EQ(ScalesOf(graph), before);
    Drag(graph, {100, 100}, {105, 105});
    EXPECT_TRUE(graph.Zoomed());
}

TEST(ZemplotMouseTest, AZoomKeepsAThousandthOfTheScaleOfBeforeTheFirstZoom)
{
    TZemplot graph;
    graph.Paint();
    // The third five-pixel zoom would leave about 4e-5 of the 0..1 axes.
    Drag(graph, {100, 100}, {105, 105});
    Drag(graph, {100, 100}, {105, 105});
    const double lower = graph.ScreenToX(100);
    Drag(graph, {100, 100}, {105, 105});
    EXPECT_NEAR(graph.XAxis().Min(), lower, 1e-12);
    EXPECT_NEAR(graph.XAxis().Max() - graph.XAxis().Min(), 0.001, 1e-12);
    EXPECT_NEAR(graph.YAxis().Max() - graph.YAxis().Min(), 0.001, 1e-12);
}

TEST(ZemplotMouseTest, TheLegendIsMovedByItsHandleWhenVisible)
{
    TZemplot graph;
    graph.Paint();
    graph.Legend().Setvisible(true);
    const auto before = ScalesOf(graph);
    Mouse(graph, kPress, {13, 13});
    Mouse(graph, kMove, {40, 50});
    EXPECT_EQ(graph.Band(), (TBandRect{40, 50, 40 + graph.Legend().width(), 50 + graph.Legend().height()}));
    Mouse(graph, kRelease, {60, 70});
    EXPECT_EQ(graph.Legend().left(), 60);
    EXPECT_EQ(graph.Legend().top(), 70);
    EXPECT_EQ(ScalesOf(graph), before);

    // Beside the handle, or on a hidden legend, the press starts a zoom.
    graph.Legend().Setleft(10);
    graph.Legend().Settop(10);
    Drag(graph, {16, 13}, {80, 90});
    EXPECT_TRUE(graph.Zoomed());
    graph.ResetDefaults();
    EXPECT_FALSE(graph.Zoomed());
    Drag(graph, {13, 13}, {80, 90});
    EXPECT_TRUE(graph.Zoomed());
    EXPECT_EQ(graph.Legend().left(), 10);
}

TEST(ZemplotMouseTest, CtrlAsksForADesignerAndOnlyTheLeftButtonStartsAnything)
{
    TCountingZemplot graph;
    graph.Paint();
    int designers = 0;
    graph.SetOnWantDesigner([&](TZemplot& sender) { designers += &sender == &graph ? 1 : 100; });
    graph.Paints = 0;
    Drag(graph, {100, 60}, {150, 120}, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(designers, 1);
    Mouse(graph, kPress, {100, 60}, Qt::ShiftModifier, Qt::RightButton);
    Mouse(graph, kMove, {150, 120});
    EXPECT_EQ(graph.Band(), TBandRect{});
    Mouse(graph, kRelease, {150, 120}, Qt::ShiftModifier, Qt::RightButton);
    EXPECT_FALSE(graph.Zoomed());
    EXPECT_EQ(graph.Paints, 0);
}

TEST(ZemplotMouseTest, TheMarginCornersMoveAndResizeTheControlInItsParent)
{
    QWidget parent;
    parent.resize(400, 300);
    auto* graph = new TZemplot(&parent);
    graph->move(50, 50);
    // Points in the parent: the control moves under the mouse.
    auto at = [&](int x, int y) { return graph->mapFromParent(QPoint(x, y)); };
    auto drag = [&](QPoint from, QPoint to) { Drag(*graph, at(from.x(), from.y()), at(to.x(), to.y()), {}); };
    graph->SetDragAllowed(false);
    drag({55, 55}, {85, 95});
    EXPECT_EQ(graph->geometry(), QRect(50, 50, 200, 200));

    graph->SetDragAllowed(true);
    Mouse(*graph, kPress, {5, 5}, {});
    EXPECT_EQ(graph->cursor().shape(), Qt::SizeAllCursor);
    Mouse(*graph, kMove, at(65, 60), {});
    Mouse(*graph, kMove, at(85, 95), {});
    EXPECT_EQ(graph->geometry(), QRect(80, 90, 200, 200));
    Mouse(*graph, kRelease, at(85, 95), {});
    EXPECT_FALSE(graph->testAttribute(Qt::WA_SetCursor));
    drag({85, 95}, {500, -50});
    EXPECT_EQ(graph->geometry(), QRect(200, 0, 200, 200));

    graph->move(50, 50);
    drag({245, 245}, {275, 265});
    EXPECT_EQ(graph->geometry(), QRect(50, 50, 230, 220));
    drag({275, 265}, {0, 0});
    EXPECT_EQ(graph->geometry(), QRect(50, 50, 20, 20));
}

TEST(ZemplotMouseTest, ARepaintErrorGoesToThePaintErrorHandlerWithTheZoomEnded)
{
    TZemplot graph;
    graph.Paint();
    std::vector<std::string> errors;
    graph.SetOnPaintError([&](const std::exception& error) { errors.push_back(error.what()); });
    int ups = 0;
    graph.SetOnMouseUp([&](TZemplot&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; });
    graph.SetOnPaintEnd([](TZemplot&, TCanvas&) { throw TVandrelError("drawn badly"); });
    EXPECT_NO_THROW(Drag(graph, {100, 60}, {150, 120}));
    EXPECT_EQ(errors, std::vector<std::string>{"drawn badly"});
    EXPECT_EQ(ups, 1);
    EXPECT_NEAR(graph.XAxis().Min(), 60.0 / 145, 1e-9);
    Mouse(graph, kMove, {170, 130});
    EXPECT_EQ(graph.Band(), TBandRect{});
}
