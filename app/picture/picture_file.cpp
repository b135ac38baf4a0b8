#include "app/picture/picture_file.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "graph/core/error.h"

namespace {

[[noreturn]] void CannotRead(const QString& reason)
{
    throw TVandrelError(QStringLiteral("The picture cannot be read: %1").arg(reason).toStdString());
}

}  // namespace

TPictureKind PictureKindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"ico")
        return TPictureKind::Icon;
    if (suffix == u"emf")
        return TPictureKind::EnhancedMetafile;
    if (suffix == u"wmf")
        return TPictureKind::Metafile;
    for (const char* bitmap : {"bmp", "png", "jpg", "jpeg", "gif", "tif", "tiff"})
        if (suffix == QLatin1StringView(bitmap))
            return TPictureKind::Bitmap;
    throw TVandrelError(QStringLiteral("Unknown picture file extension (.%1)").arg(suffix).toStdString());
}

QImage LoadBitmap(const QString& path)
{
    if (PictureKindOf(path) != TPictureKind::Bitmap) {
        // The picture itself must still be there: a missing file is a missing file.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            CannotRead(file.errorString());
        throw TVandrelError(kNotABitmap);
    }
    QImageReader reader(path);
    // Orientation tags would turn the picture; its pixels are counted as stored.
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        CannotRead(reader.errorString());
    return image;
}
