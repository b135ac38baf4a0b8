#pragma once

#include <QByteArray>

// The SVG text of a metafile, so that QSvgRenderer can show it. Each raises
// "The picture cannot be read: <reason>" when `bytes` is not a picture of its kind.

// An enhanced metafile (EMF), through libemf2svg. The picture is the header's bounds.
QByteArray EnhancedMetafileSvg(const QByteArray& bytes);

// A Windows metafile (WMF), through libwmf's SVG output. A placeable metafile keeps
// the size its header gives, at 96 pixels an inch; a plain one is what it draws.
QByteArray MetafileSvg(const QByteArray& bytes);
