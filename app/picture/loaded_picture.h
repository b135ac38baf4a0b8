#pragma once

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

#include "app/engine/foreground_rule.h"
#include "app/picture/foreground_mask.h"
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
    // failure raises "The picture cannot be read: <reason>". A bitmap of more than
    // `mostShownPixels` pixels that is decoded a row at a time is kept as a reduced
    // preview instead (PreviewOf), after its mask has been weighed against the memory
    // budget.
    static TLoadedPicture FromFile(const QString& path, const TMetafileConverter& converter,
                                   uint64_t mostShownPixels = kMostShownPixels);

    // Pictures above this are shown as a preview: 512 MiB of 32-bit pixels, which the
    // window holds up to three times (as read, as drawn on, and the shape laid over).
    static constexpr uint64_t kMostShownPixels = uint64_t{1} << 27;

    bool Empty() const;
    TPictureKind Kind() const; // meaningless when Empty
    QSize Size() const;        // of the pixels held and shown; an empty size when Empty
    bool HasBitmap() const;    // true only for bitmaps

    // How many pixels of the picture each pixel shown stands for along a side: 1 when
    // it is shown whole, more for a preview.
    int Scale() const { return FScale; }
    // The size of the picture in its file, which a preview is reduced from.
    QSize FullSize() const;

    // The mask of every pixel of the bitmap that `rule` takes: from the pixels held when
    // the picture is shown whole, else decoded again from its file a row at a time.
    // Raises "The picture has changed since it was opened: <name>" when that file is no
    // longer the one read, besides the errors of reading it, and kNotABitmap unless
    // HasBitmap.
    TForegroundMask MaskOf(const TForegroundRule& rule) const;

    // The pixels, to draw on or count. Raises kNotABitmap unless HasBitmap.
    QImage& Bitmap();
    const QImage& Bitmap() const;

    // Draws the picture with its top-left corner at `topLeft`, at its own size.
    void Draw(QPainter& painter, QPoint topLeft) const;

private:
    // What a preview's file was when read, to know it again.
    struct TFileStamp {
        QString Path;
        qint64 Bytes = 0;
        QDateTime Modified;
        bool operator==(const TFileStamp&) const = default;
    };
    static TFileStamp StampOf(const QString& path);

    TPictureKind FKind = TPictureKind::Bitmap;
    int FScale = 1;
    QSize FFullSize;   // of a preview
    TFileStamp FStamp; // of a preview
    QImage FImage;                        // a bitmap's or an icon's pixels
    std::shared_ptr<QSvgRenderer> FDrawing; // a metafile, parsed once and shared by copies
};
