#include "app/window/details_sheet.h"

#include "app/engine/decimal_log.h"
#include "app/picture/colour_mask.h"

namespace {

using TRow = std::vector<TSheetValue>;

TRow Row(const char* caption, TSheetValue value)
{
    return {QString::fromLatin1(caption), std::move(value)};
}

double Log10Of(long double value)
{
    return static_cast<double>(Log10(value));
}

}  // namespace

TValueSheet DetailsSheet(const TAnalysisResult& result)
{
    const TCompStats& stats = result.Measurement.Stats;
    TValueSheet sheet{QString::fromLatin1(kDetailsSheetName),
                      {
                          Row("Picture", result.PictureName()),
                          Row("Width (pixels)", double(result.PictureSize.width())),
                          Row("Height (pixels)", double(result.PictureSize.height())),
                          Row("Colour", QString::fromStdString(ColourText(result.Foreground.Rgb()))),
                          Row("Minimum box size", double(result.MinBoxSize)),
                          Row("Maximum box size", double(result.MaxBoxSize)),
                          Row("Box increment", double(result.Increment)),
                          Row("Slope", stats.Slope),
                          Row("Intercept", stats.Intercept),
                          Row("r", result.Measurement.HasCorrelation ? TSheetValue(stats.R) : TSheetValue()),
                          Row("D", -stats.Slope),
                          Row("Analysed", result.Made.toString(Qt::ISODate)),
                          Row("Vandrel version", QStringLiteral(VANDREL_VERSION)),
                          {},
                          {QStringLiteral("d"), QStringLiteral("N(d)"), QStringLiteral("log10 d"),
                           QStringLiteral("log10 N(d)")},
                      }};
    for (const TBoxCount& count : result.Counts())
        sheet.Cells.push_back({double(count.BoxSize), double(count.Boxes), Log10Of(count.BoxSize),
                               Log10Of(static_cast<long double>(count.Boxes))});
    return sheet;
}
