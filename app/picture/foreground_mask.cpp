#include "app/picture/foreground_mask.h"

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"
#include "app/picture/argb_rows.h"

namespace {

TForegroundRule Resolved(const QImage& image, const TForegroundRule& rule)
{
    if (!rule.LevelPending())
        return rule;
    TLuminanceHistogram histogram{};
    ForEachArgbRow(image, [&](int, std::span<const TArgb> row, TAlpha alpha) { AddLuminances(row, histogram, alpha); });
    return rule.WithOtsuLevel(OtsuThreshold(histogram));
}

}  // namespace

TForegroundMask MaskOfForeground(const QImage& image, const TForegroundRule& rule)
{
    TForegroundMask result{TPixelMask(image.width(), image.height()), Resolved(image, rule)};
    ForEachArgbRow(image, [&](int y, std::span<const TArgb> row, TAlpha alpha) {
        MarkForeground(row, result.Rule, result.Mask.Row(y), alpha);
    });
    return result;
}
