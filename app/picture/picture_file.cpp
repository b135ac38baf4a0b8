#include "app/picture/picture_file.h"

#include <QFile>
#include <QFileInfo>

#include "app/picture/bitmap_reader.h"
#include "app/picture/regular_file.h"

#include "graph/core/error.h"

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
    const std::string bytes = QFile::encodeName(path).toStdString();
    if (PictureKindOf(path) != TPictureKind::Bitmap) {
        // The picture itself must still be there: a missing file is a missing file.
        const TRegularFile file(bytes);
        throw TVandrelError(kNotABitmap);
    }
    TBitmapReader reader(bytes);
    TMemoryBudget& budget = ProcessMemoryBudget();
    RefuseOverBudget(reader.Size(), budget);
    const TMemoryBudget::TReservation reserved = budget.Reserve(PictureMemoryNeed(reader.Size()));
    return reader.Read(budget.Bytes());
}
