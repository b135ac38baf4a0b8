// "SaveTable": the results table, headed by the results, as a workbook.
#include "app/window/main_window.h"

#include <QLocale>

#include "app/engine/result_texts.h"
#include "graph/core/error.h"

namespace {

// Puts the table back as it was on every way out of the click.
class TTableRestorer {
public:
    explicit TTableRestorer(TStringGrid& grid) : FGrid(grid), FTexts(grid.Texts()) {}
    ~TTableRestorer() { FGrid.SetTexts(FTexts); }
    TTableRestorer(const TTableRestorer&) = delete;
    TTableRestorer& operator=(const TTableRestorer&) = delete;

    const TTextTable& Texts() const { return FTexts; }

private:
    TStringGrid& FGrid;
    TTextTable FTexts;
};

std::vector<QString> Row(const TResultText& text)
{
    return {QString::fromStdString(text.Caption), QString::fromStdString(text.Value)};
}

}  // namespace

void TForm1::BitBtn4Click()
{
    const TTableRestorer restorer(*StringGrid1);
    const TResultTexts texts =
        MakeResultTexts(PictureName().toStdString(), Zemplot1->Series(1).GetCompStats(), DecimalSeparator());
    // The four result rows go on top and the table grows by them, so that every
    // data row stays in it, down to the last.
    TTextTable shifted{Row(texts.File), Row(texts.Slope), Row(texts.Intercept), Row(texts.Correlation)};
    shifted.insert(shifted.end(), restorer.Texts().begin(), restorer.Texts().end());
    StringGrid1->SetTexts(shifted);
    // An Office Open XML workbook, named as such.
    const std::optional<QString> fileName = FDialogs.SaveFile(FPictureFile + QStringLiteral(".xlsx"),
                                                              QStringLiteral("xlsx"),
                                                              QStringLiteral("Excel workbook (*.xlsx)|*.xlsx"));
    if (!fileName)
        return;
    QString failure;
    if (!ExportGridToSpreadsheet(StringGrid1->Texts(), *fileName, QLocale(), failure))
        throw TVandrelError(QStringLiteral("The table could not be saved as %1: %2").arg(*fileName, failure).toStdString());
}
