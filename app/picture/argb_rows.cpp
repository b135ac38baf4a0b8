#include "app/picture/argb_rows.h"

#include <algorithm>

namespace {

constexpr int kConvertedBandRows = 64;

std::span<const TArgb> ArgbLine(const QImage& image, int y)
{
    return {reinterpret_cast<const TArgb*>(image.constScanLine(y)), static_cast<std::size_t>(image.width())};
}

}  // namespace

void ForEachArgbRow(const QImage& image, const std::function<void(int y, std::span<const TArgb> row, TAlpha alpha)>& visit)
{
    switch (image.format()) {
    case QImage::Format_RGB32: // 0x??RRGGBB: every pixel is opaque, whatever its top byte
        for (int y = 0; y < image.height(); ++y)
            visit(y, ArgbLine(image, y), TAlpha::Unused);
        break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: // an opaque pixel is stored unchanged
        for (int y = 0; y < image.height(); ++y)
            visit(y, ArgbLine(image, y), TAlpha::Stored);
        break;
    default:
        for (int top = 0; top < image.height(); top += kConvertedBandRows) {
            const int rows = std::min(kConvertedBandRows, image.height() - top);
            const QImage band = image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < rows; ++y)
                visit(top + y, ArgbLine(band, y), TAlpha::Stored);
        }
        break;
    }
}
