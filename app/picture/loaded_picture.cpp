#include "app/picture/loaded_picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include "app/picture/bitmap_reader.h"
#include "app/picture/picture_preview.h"
#include "app/picture/regular_file.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

namespace {

[[noreturn]] void CannotRead(const QString& reason)
{
    throw TVandrelError(QStringLiteral("The picture cannot be read: %1").arg(reason).toStdString());
}

QImage DrawableBitmap(const QString& path)
{
    const QImage image = LoadBitmap(path);
    // Raster operations need a 32-bit surface; indexed, mono or 24-bit pixels have none.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// Read through a regular file, so that a FIFO or a device named like a picture is
// refused instead of hanging the window.
QByteArray FileBytes(const QString& path)
{
    const TRegularFile file(QFile::encodeName(path).toStdString());
    QFile device;
    if (!device.open(file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        CannotRead(device.errorString());
    return device.readAll();
}

QImage IconImage(const QString& path)
{
    QByteArray bytes = FileBytes(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // An icon may hold a PNG of any size: its header is weighed like a bitmap's.
    RefuseOverBudget(reader.size(), ProcessMemoryBudget());
    QImage image = reader.read();
    if (image.isNull())
        CannotRead(reader.errorString());
    return image;
}

std::shared_ptr<QSvgRenderer> Drawing(const QByteArray& svg)
{
    auto renderer = std::make_shared<QSvgRenderer>(svg);
    if (!renderer->isValid() || renderer->defaultSize().isEmpty())
        CannotRead(QStringLiteral("the metafile's drawing cannot be shown"));
    return renderer;
}

}  // namespace

TLoadedPicture TLoadedPicture::FromFile(const QString& path, const TMetafileConverter& converter,
                                        uint64_t mostShownPixels)
{
    TLoadedPicture picture;
    picture.FKind = PictureKindOf(path);
    switch (picture.FKind) {
    case TPictureKind::Bitmap:
        // Decoded as vandrel-count decodes it where a streaming reader takes it, by Qt
        // where none does.
        if (const std::unique_ptr<TStreamedPicture> streamed = OpenStreamedPicture(QFile::encodeName(path).toStdString())) {
            const QSize size(streamed->Width(), streamed->Height());
            if (static_cast<uint64_t>(size.width()) * static_cast<uint64_t>(size.height()) <= mostShownPixels) {
                RefuseOverBudget(size, ProcessMemoryBudget());
                picture.FImage = PreviewOf(*streamed, 1);
                break;
            }
            // Only the mask is ever held whole: a picture whose mask cannot be is refused
            // before anything is decoded.
            RefuseOverBudget(size, StreamedMemoryNeed(*streamed), ProcessMemoryBudget());
            picture.FFullSize = size;
            picture.FStamp = StampOf(path);
            picture.FScale = PreviewScale(size, mostShownPixels / 4);
            picture.FImage = PreviewOf(*streamed, picture.FScale);
            break;
        }
        picture.FImage = DrawableBitmap(path);
        break;
    case TPictureKind::Icon:
        picture.FImage = IconImage(path);
        break;
    case TPictureKind::EnhancedMetafile:
    case TPictureKind::Metafile:
        picture.FDrawing = Drawing(converter.Svg(picture.FKind, FileBytes(path)));
        break;
    }
    return picture;
}

bool TLoadedPicture::Empty() const
{
    return FImage.isNull() && !FDrawing;
}

TPictureKind TLoadedPicture::Kind() const
{
    return FKind;
}

QSize TLoadedPicture::Size() const
{
    if (FDrawing)
        return FDrawing->defaultSize();
    return FImage.size(); // 0 x 0 when there is no picture
}

QSize TLoadedPicture::FullSize() const
{
    return FScale == 1 ? Size() : FFullSize;
}

TForegroundMask TLoadedPicture::MaskOf(const TForegroundRule& rule) const
{
    if (FScale == 1)
        return MaskOfForeground(Bitmap(), rule);
    if (StampOf(FStamp.Path) != FStamp)
        throw TVandrelError("The picture has changed since it was opened: " +
                            QFileInfo(FStamp.Path).fileName().toStdString());
    // Read again as it was when opened.
    const std::unique_ptr<TStreamedPicture> streamed = OpenStreamedPicture(QFile::encodeName(FStamp.Path).toStdString());
    if (!streamed || QSize(streamed->Width(), streamed->Height()) != FFullSize)
        throw TVandrelError("The picture has changed since it was opened: " +
                            QFileInfo(FStamp.Path).fileName().toStdString());
    return streamed->Mask(rule);
}

TLoadedPicture::TFileStamp TLoadedPicture::StampOf(const QString& path)
{
    const QFileInfo file(path);
    return {path, file.size(), file.lastModified()};
}

bool TLoadedPicture::HasBitmap() const
{
    return !FImage.isNull() && FKind == TPictureKind::Bitmap;
}

QImage& TLoadedPicture::Bitmap()
{
    if (!HasBitmap())
        throw TVandrelError(kNotABitmap);
    return FImage;
}

const QImage& TLoadedPicture::Bitmap() const
{
    if (!HasBitmap())
        throw TVandrelError(kNotABitmap);
    return FImage;
}

void TLoadedPicture::Draw(QPainter& painter, QPoint topLeft) const
{
    if (FDrawing)
        FDrawing->render(&painter, QRectF(topLeft, QSizeF(Size())));
    else if (!FImage.isNull())
        painter.drawImage(topLeft, FImage);
}
