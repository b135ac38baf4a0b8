#include "app/window/details_sheet.h"

#include "app/engine/decimal_log.h"
#include "app/picture/colour_mask.h"

namespace {

using TRow = std::vector<TSheetValue>;

TRow Row(const char* caption, TSheetValue value)
{
    return {QString::fromUtf8(caption), std::move(value)};
}

double Log10Of(long double value)
{
    return static_cast<double>(Log10(value));
}

TSheetValue Number(long double value)
{
    return static_cast<double>(value);
}

// How the shape was chosen and measured, and how far to trust the fit.
void AddMethodAndUncertainty(TValueSheet& sheet, const TAnalysisResult& result)
{
    const TScalingFit& fit = *result.Measurement.Fit;
    const TCountMethod& method = result.Method;
    std::vector<TRow> rows{
        Row("Foreground", QString::fromStdString(result.Foreground.Text())),
        Row("Grid", QString::fromLatin1(GridModeName(method.Grid))),
        Row("Sizes", QString::fromLatin1(SizeSeriesName(method.Sizes))),
        Row("Fitted from box size", double(fit.From)),
        Row("Fitted to box size", double(fit.To)),
        Row("Sizes fitted (n)", double(fit.Count)),
        Row("r\u00B2", fit.HasCorrelation ? Number(fit.R2) : TSheetValue()),
        Row("Standard error of the slope", fit.HasUncertainty ? Number(fit.SlopeStandardError) : TSheetValue()),
        Row("D, 95 % low", fit.HasUncertainty ? Number(fit.DimensionLow) : TSheetValue()),
        Row("D, 95 % high", fit.HasUncertainty ? Number(fit.DimensionHigh) : TSheetValue()),
    };
    if (const std::optional<TOffsetDimensions>& offsets = result.Measurement.OffsetDimensions) {
        rows.push_back(Row("D of the top-left counts", Number(offsets->TopLeft)));
        rows.push_back(Row("D of the mean counts", Number(offsets->Mean)));
        rows.push_back(Row("D spread over the offsets", Number(offsets->Spread())));
    }
    for (const std::string& warning : result.Measurement.Warnings)
        rows.push_back(Row("Warning", QString::fromStdString(warning)));
    sheet.Cells.insert(sheet.Cells.end(), rows.begin(), rows.end());
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
                      }};
    if (result.Measurement.Fit)
        AddMethodAndUncertainty(sheet, result);
    const std::vector<TOffsetCounts>& offsets = result.Measurement.OffsetCounts;
    TRow header{QStringLiteral("d"), QStringLiteral("N(d)"), QStringLiteral("log10 d"), QStringLiteral("log10 N(d)")};
    if (!offsets.empty())
        header.insert(header.end(), {QStringLiteral("N(d) top-left"), QStringLiteral("N(d) least"),
                                     QStringLiteral("N(d) largest"), QStringLiteral("N(d) mean")});
    sheet.Cells.push_back({});
    sheet.Cells.push_back(header);
    for (std::size_t i = 0; i < result.Counts().size(); ++i) {
        const TBoxCount& count = result.Counts()[i];
        TRow row{double(count.BoxSize), double(count.Boxes), Log10Of(count.BoxSize),
                 Log10Of(static_cast<long double>(count.Boxes))};
        if (!offsets.empty())
            row.insert(row.end(), {double(offsets[i].TopLeft), double(offsets[i].Min), double(offsets[i].Max),
                                   offsets[i].Mean});
        sheet.Cells.push_back(std::move(row));
    }
    return sheet;
}
