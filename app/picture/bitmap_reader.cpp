#include "app/picture/bitmap_reader.h"

#include <unistd.h>

#include <mutex>

#include "app/picture/picture_damage.h"
#include "graph/core/error.h"

namespace {

[[noreturn]] void CannotRead(const QString& reason)
{
    throw TVandrelError(QStringLiteral("The picture cannot be read: %1").arg(reason).toStdString());
}

// Qt's own allocation limit (256 MB) would refuse pictures that fit the budget; the
// budget is checked before every read instead.
void LiftQtAllocationLimit()
{
    static std::once_flag lifted;
    std::call_once(lifted, [] { QImageReader::setAllocationLimit(0); });
}

}  // namespace

TBitmapReader::TBitmapReader(const std::string& path)
    : FFile(path)
{
    // The device reads the descriptor already opened and checked, never the name again.
    if (::lseek(FFile.Descriptor(), 0, SEEK_SET) != 0 ||
        !FDevice.open(FFile.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        CannotRead(FDevice.errorString());
    FReader.setDevice(&FDevice);
    FReader.setDecideFormatFromContent(true);
    // Orientation tags would turn the picture; its pixels are counted as stored.
    FReader.setAutoTransform(false);
    FSize = FReader.size();
    // Qt gives a BMP stored top down the negative height of its header.
    if (FSize.height() < 0)
        FSize.setHeight(-FSize.height());
    // A GIF is decoded onto its logical screen, which Qt's size (that of the first
    // image) leaves out, and which is all there is when it holds no image.
    if (const std::string head = ReadFileBytes(FFile, 0, 10); head.size() == 10 && head.starts_with("GIF8")) {
        const auto word = [&](std::size_t at) { return int(static_cast<unsigned char>(head[at])) | int(static_cast<unsigned char>(head[at + 1])) << 8; };
        FSize = FSize.expandedTo(QSize(word(6), word(8)));
    }
    if (!FSize.isValid() || FSize.isEmpty()) {
        // Qt says "Unsupported image format" for an empty file or one it cannot place.
        CannotRead(FReader.errorString());
    }
}

QImage TBitmapReader::Read(uint64_t memoryBytes)
{
    if (const std::optional<std::string> damage = PictureDamage(FFile, memoryBytes))
        ThrowDamaged(FFile.Name(), *damage);
    LiftQtAllocationLimit();
    // The header was read on opening; read again from the start.
    QImageReader reader;
    if (!FDevice.seek(0))
        CannotRead(FDevice.errorString());
    reader.setDevice(&FDevice);
    reader.setFormat(FReader.format());
    reader.setAutoTransform(false);
    QImage image;
    // A run-length coded BMP may skip pixels, which Qt's decoder leaves as memory held
    // them. It decodes into a picture handed to it whose size and format fit, so it is
    // handed a cleared one.
    if (FReader.format() == "bmp" && FReader.imageFormat() != QImage::Format_Invalid) {
        image = QImage(FSize, FReader.imageFormat());
        image.fill(0);
    }
    if (!reader.read(&image) || image.isNull())
        ThrowDamaged(FFile.Name(), reader.errorString().toStdString());
    return image;
}

uint64_t PictureMemoryNeed(QSize size)
{
    const auto width = static_cast<uint64_t>(std::max(size.width(), 0));
    const auto height = static_cast<uint64_t>(std::max(size.height(), 0));
    const uint64_t maskBytes = (width + 63) / 64 * 8 * height;
    return width * height * 4 + maskBytes + maskBytes / 2;
}

void RefuseOverBudget(QSize size, const TMemoryBudget& budget)
{
    RefuseOverBudget(size, PictureMemoryNeed(size), budget);
}

void RefuseOverBudget(QSize size, uint64_t need, const TMemoryBudget& budget)
{
    if (need <= budget.Bytes())
        return;
    throw TVandrelError("The picture is " + std::to_string(size.width()) + " \u00d7 " + std::to_string(size.height()) +
                        " pixels and needs " + MemoryText(need) + " of memory, more than the " +
                        MemoryText(budget.Bytes()) + " allowed");
}

TMemoryBudget& ProcessMemoryBudget()
{
    static TMemoryBudget budget(DefaultMemoryBudget());
    return budget;
}
