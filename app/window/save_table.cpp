// "SaveTable": the last analysis as a workbook, its table headed by the results on
// the first sheet and the details on the second.
#include "app/window/main_window.h"

#include <QLocale>

#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"
#include "app/window/details_sheet.h"
#include "graph/core/error.h"

namespace {

std::vector<QString> Row(const TResultText& text)
{
    return {QString::fromStdString(text.Caption), QString::fromStdString(text.Value)};
}

// The results table as the window shows it, headed by the file, slope, intercept
// and r rows.
TTextTable ResultTable(const TAnalysisResult& result, const std::string& separator)
{
    const TResultTexts texts = MakeResultTexts(result.PictureName().toStdString(), result.Fit(), separator);
    TTextTable table{Row(texts.File), Row(texts.Slope), Row(texts.Intercept), Row(texts.Correlation),
                     {QString::fromLatin1(kLogSizeHeader), QString::fromLatin1(kLogCountHeader)}};
    for (const TBoxCount& count : result.Counts())
        table.push_back({QString::fromStdString(LogCellText(Log10(count.BoxSize), separator)),
                         QString::fromStdString(LogCellText(Log10(static_cast<long double>(count.Boxes)), separator))});
    return table;
}

}  // namespace

void TForm1::BitBtn4Click()
{
    // Only a finished analysis is saved, never the rows of one that failed.
    if (!FLastAnalysis)
        return;
    const TAnalysisResult& result = *FLastAnalysis;
    // An Office Open XML workbook, named as such.
    const std::optional<QString> fileName = FDialogs.SaveFile(result.PictureFile + QStringLiteral(".xlsx"),
                                                              QStringLiteral("xlsx"),
                                                              QStringLiteral("Excel workbook (*.xlsx)|*.xlsx"));
    if (!fileName)
        return;
    const TValueSheet details = DetailsSheet(result);
    QString failure;
    if (!ExportGridToSpreadsheet(ResultTable(result, DecimalSeparator()), *fileName, QLocale(), failure, {&details, 1}))
        throw TVandrelError(QStringLiteral("The table could not be saved as %1: %2").arg(*fileName, failure).toStdString());
}
