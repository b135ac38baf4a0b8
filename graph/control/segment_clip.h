#pragma once

#include <optional>

#include <QLineF>
#include <QRectF>

// The part of a segment inside a rectangle (its edges included), or none.
std::optional<QLineF> ClipSegment(const QLineF& segment, const QRectF& rectangle);
