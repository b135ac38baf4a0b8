#include "graph/control/segment_clip.h"

#include <algorithm>

std::optional<QLineF> ClipSegment(const QLineF& segment, const QRectF& rectangle)
{
    // The segment as p1 + t (p2 - p1), 0 <= t <= 1, narrowed by each edge in turn.
    const double dx = segment.dx();
    const double dy = segment.dy();
    double enter = 0.0;
    double leave = 1.0;
    const auto narrow = [&](double towards, double room) {
        if (towards == 0)
            return room >= 0; // parallel to the edge: inside or out for good
        const double t = room / towards;
        if (towards < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        return enter <= leave;
    };
    const QPointF p = segment.p1();
    if (!narrow(-dx, p.x() - rectangle.left()) || !narrow(dx, rectangle.right() - p.x()) ||
        !narrow(-dy, p.y() - rectangle.top()) || !narrow(dy, rectangle.bottom() - p.y()))
        return std::nullopt;
    return QLineF(segment.pointAt(enter), segment.pointAt(leave));
}
