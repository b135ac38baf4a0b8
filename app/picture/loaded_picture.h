#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

#include "app/picture/metafile_converter.h"
#include "app/picture/picture_file.h"

class QPainter;
class QSvgRenderer;

// A picture as the window shows it: a bitmap with pixels that can be drawn on, or an
// icon or (enhanced) metafile that can only be shown.
class TLoadedPicture {
public:
    TLoadedPicture() = default; // no picture

    // Reads the file at `path`, its kind decided by PictureKindOf (an unknown extension
    // raises that function's error). Bitmaps are kept as Format_RGB32, or
    // Format_ARGB32_Premultiplied when they have an alpha channel, so that a QPainter
    // can draw on them with raster operations. Icons are read with QImageReader; the
    // metafiles are turned into SVG by `converter` and shown with QSvgRenderer. Any
    // failure raises "The picture cannot be read: <reason>".
    static TLoadedPicture FromFile(const QString& path, const TMetafileConverter& converter);

    bool Empty() const;
    TPictureKind Kind() const; // meaningless when Empty
    QSize Size() const;        // in pixels; an empty size when Empty
    bool HasBitmap() const;    // true only for bitmaps

    // The pixels, to draw on or count. Raises kNotABitmap unless HasBitmap.
    QImage& Bitmap();
    const QImage& Bitmap() const;

    // Draws the picture with its top-left corner at `topLeft`, at its own size.
    void Draw(QPainter& painter, QPoint topLeft) const;

private:
    TPictureKind FKind = TPictureKind::Bitmap;
    QImage FImage;                        // a bitmap's or an icon's pixels
    std::shared_ptr<QSvgRenderer> FDrawing; // a metafile, parsed once and shared by copies
};
