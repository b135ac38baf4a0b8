#pragma once

#include <QByteArray>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

// Tiny pictures for tests that load what the window shows: each is one filled
// rectangle (or one colour) on nothing, so a test knows where its colour must be.

// An enhanced metafile (EMF), written record by record.
inline constexpr QSize kTinyEnhancedMetafileSize{48, 32};
inline constexpr QRect kTinyEnhancedMetafileShape{8, 4, 32, 24};
inline constexpr QRgb kTinyEnhancedMetafileColour = 0xFF2050A0;
QByteArray TinyEnhancedMetafile();

// A placeable Windows metafile (WMF) at 96 units an inch, written record by record.
// Its colour is an SVG colour name (teal), as libwmf's SVG rounds colours to those.
inline constexpr QSize kTinyMetafileSize{60, 40};
inline constexpr QRect kTinyMetafileShape{10, 10, 40, 20};
inline constexpr QRgb kTinyMetafileColour = 0xFF008080;
QByteArray TinyMetafile();

// The tiny metafile with a header that claims a record of 2^31 words: libwmf
// reserves room for the largest record up front, 4 GiB.
QByteArray GreedyMetafile();

// An icon (ICO) of one colour, through Qt's ico plugin.
inline constexpr QSize kTinyIconSize{16, 16};
inline constexpr QRgb kTinyIconColour = 0xFFC04000;
QByteArray TinyIcon();

// Writes `bytes` to `path`, replacing the file; raises std::runtime_error if it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
