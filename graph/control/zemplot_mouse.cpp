// The control's mouse: Shift-drag zooms or moves the legend by its handle, a
// Shift-click restores the scales of before the first zoom, Ctrl asks for a
// designer, and a drag from a margin corner moves or resizes the control.
#include "graph/control/zemplot.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <utility>

#include <QMouseEvent>
#include <QtGlobal>

namespace {

// A band at most this many pixels across either way is a click: it restores.
constexpr int kClickSlack = 4;
// A zoom keeps at least this part of the saved span, so the axis can still be scaled.
constexpr double kLeastZoomedSpan = 0.001;
// The legend's handle is the square within this distance of (left + 3, top + 3).
constexpr int kHandleOffset = 3;
constexpr int kHandleReach = 3;
// A corner drag never makes the control smaller than this.
constexpr int kLeastControlSize = 20;

using TSavedFlags = std::array<bool, 3>;
using TSavedValues = std::array<double, 3>;

// The axes a zoom changes, in the order of the saved scales.
std::array<TAxis*, 3> ZoomAxes(TZemplot& graph)
{
    return {&graph.XAxis(), &graph.YAxis(), &graph.YAxis_Second()};
}

void SaveScales(TZemplot& graph, TSavedFlags& autoSizing, TSavedValues& min, TSavedValues& max)
{
    const auto axes = ZoomAxes(graph);
    for (size_t i = 0; i < axes.size(); ++i) {
        autoSizing[i] = axes[i]->AutoSizing();
        min[i] = axes[i]->Min();
        max[i] = axes[i]->Max();
    }
}

void RestoreScales(TZemplot& graph, const TSavedFlags& autoSizing, const TSavedValues& min,
                   const TSavedValues& max)
{
    const auto axes = ZoomAxes(graph);
    for (size_t i = 0; i < axes.size(); ++i) {
        axes[i]->SetAutoSizing(autoSizing[i]);
        if (!autoSizing[i]) {
            axes[i]->SetMin(min[i]);
            axes[i]->SetMax(max[i]);
        }
    }
}

// Sets the axes to the band's values; the graph must not be plotting, so that
// none of the setters paints a half-changed scale.
void ZoomTo(TZemplot& graph, const TBandRect& band, const TSavedValues& savedMin, const TSavedValues& savedMax)
{
    std::array<double, 3> lower{graph.ScreenToX(band.Left), graph.ScreenToY(band.Bottom),
                                graph.ScreenToY2(band.Bottom)};
    std::array<double, 3> upper{graph.ScreenToX(band.Right), graph.ScreenToY(band.Top), graph.ScreenToY2(band.Top)};
    graph.SetPlotting(false);
    const auto axes = ZoomAxes(graph);
    for (size_t i = 0; i < axes.size(); ++i) {
        const double least = (savedMax[i] - savedMin[i]) * kLeastZoomedSpan;
        if (std::abs(lower[i] - upper[i]) < least)
            upper[i] = lower[i] + least;
        axes[i]->SetMin(lower[i]);
        axes[i]->SetMax(upper[i]);
    }
}

bool OnLegendHandle(const TLegend& legend, QPoint at)
{
    return legend.visible() && std::abs(at.x() - (legend.left() + kHandleOffset)) < kHandleReach &&
           std::abs(at.y() - (legend.top() + kHandleOffset)) < kHandleReach;
}

TBandRect BandBetween(QPoint a, QPoint b)
{
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
}

bool InTopLeftCorner(const TDimensions& margins, QPoint at)
{
    return at.x() < margins.LeftMargin() && at.y() < margins.TopMargin();
}

bool InBottomRightCorner(const TDimensions& margins, QSize size, QPoint at)
{
    return size.width() - at.x() < margins.RightMargin() && size.height() - at.y() < margins.BottomMargin();
}

// The position moved by `travel` and kept inside a parent of size `bounds`.
QPoint MovedWithin(const QRect& start, QPoint travel, QSize bounds)
{
    const int x = std::clamp(start.x() + travel.x(), 0, std::max(0, bounds.width() - start.width()));
    const int y = std::clamp(start.y() + travel.y(), 0, std::max(0, bounds.height() - start.height()));
    return {x, y};
}

// The size grown by `travel`, no smaller than the least size and not past the parent.
QSize ResizedWithin(const QRect& start, QPoint travel, QSize bounds)
{
    const int w = std::clamp(start.width() + travel.x(), kLeastControlSize,
                             std::max(kLeastControlSize, bounds.width() - start.x()));
    const int h = std::clamp(start.height() + travel.y(), kLeastControlSize,
                             std::max(kLeastControlSize, bounds.height() - start.y()));
    return {w, h};
}

// Qt cannot unwind through its event loop: an error of a repaint or of a handler
// goes where the errors of the window system's paints go.
template <typename TAction>
void Guarded(const TZemplot::TPaintErrorEvent& onError, TAction&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        if (onError)
            onError(error);
        else
            qWarning("%s", error.what());
    }
}

void Raise(const TZemplot::TMouseEvent& handler, TZemplot& graph, Qt::MouseButton button,
           Qt::KeyboardModifiers shift, QPoint at)
{
    if (handler)
        handler(graph, button, shift, at.x(), at.y());
}

}  // namespace

void TZemplot::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers shift = event->modifiers();
    Guarded(FOnPaintError, [&] {
        if (event->button() != Qt::LeftButton)
            return;
        if (shift & Qt::ControlModifier) {
            if (FOnWantDesigner)
                FOnWantDesigner(*this);
        } else if (shift & Qt::ShiftModifier) {
            if (OnLegendHandle(FLegend, at)) {
                FMovingLegend = true;
                FAnchorX = FLegend.width();
                FAnchorY = FLegend.height();
                return;
            }
            FZooming = true;
            FAnchorX = at.x();
            FAnchorY = at.y();
            setCursor(Qt::CrossCursor);
            // A zoom on a zoom keeps the scales of before the first one.
            if (!FZoomed)
                SaveScales(*this, FSavedAutoSizing, FSavedMin, FSavedMax);
            FZoomed = true;
        } else if (FDragAllowed && parentWidget() != nullptr) {
            FResizingControl = InBottomRightCorner(FDimensions, size(), at);
            FMovingControl = !FResizingControl && InTopLeftCorner(FDimensions, at);
            if (!FResizingControl && !FMovingControl)
                return;
            FDragStart = mapToParent(at);
            FDragGeometry = geometry();
            setCursor(FResizingControl ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
        }
    });
    Guarded(FOnPaintError, [&] { Raise(FOnMouseDown, *this, event->button(), shift, at); });
}

void TZemplot::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (FMovingLegend) {
        FBand = {at.x(), at.y(), at.x() + FAnchorX, at.y() + FAnchorY};
        update();
    } else if (FZooming) {
        FBand = BandBetween(QPoint(FAnchorX, FAnchorY), at);
        update();
    } else if ((FMovingControl || FResizingControl) && parentWidget() != nullptr) {
        // The travel is measured in the parent, which does not move with the control.
        const QPoint travel = mapToParent(at) - FDragStart;
        if (FMovingControl)
            move(MovedWithin(FDragGeometry, travel, parentWidget()->size()));
        else
            resize(ResizedWithin(FDragGeometry, travel, parentWidget()->size()));
    }
    Guarded(FOnPaintError, [&] { Raise(FOnMouseMove, *this, Qt::NoButton, event->modifiers(), at); });
}

void TZemplot::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (FMovingControl || FResizingControl) {
        FMovingControl = false;
        FResizingControl = false;
        unsetCursor();
    }
    const bool placeLegend = std::exchange(FMovingLegend, false);
    const bool zoom = std::exchange(FZooming, false);
    if (placeLegend || zoom) {
        FBand = {};
        update();
    }
    if (zoom)
        unsetCursor();
    // The state is clear before anything that can fail.
    Guarded(FOnPaintError, [&] {
        if (placeLegend) {
            FLegend.Setleft(at.x());
            FLegend.Settop(at.y());
        } else if (zoom) {
            if (std::abs(at.x() - FAnchorX) <= kClickSlack || std::abs(at.y() - FAnchorY) <= kClickSlack) {
                FZoomed = false;
                SetPlotting(false);
                RestoreScales(*this, FSavedAutoSizing, FSavedMin, FSavedMax);
            } else {
                ZoomTo(*this, BandBetween(QPoint(FAnchorX, FAnchorY), at), FSavedMin, FSavedMax);
            }
            SetPlotting(true);
        }
    });
    Guarded(FOnPaintError, [&] { Raise(FOnMouseUp, *this, event->button(), event->modifiers(), at); });
}
