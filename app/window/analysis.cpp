// The analysis: count the boxes holding the chosen colour for every box size, list
// the logarithms, and hand the counts to the graph.
#include "app/window/main_window.h"

#include <QApplication>

#include "app/engine/box_counter.h"
#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"
#include "app/picture/colour_mask.h"

namespace {

// The hourglass for as long as it lives, also when an error ends the counting.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

uint32_t RgbOf(TColor colour)
{
    return static_cast<uint32_t>(RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour));
}

}  // namespace

void TForm1::Analyse_Image()
{
    StaticText1->setText(QStringLiteral("Slope: "));
    StaticText2->setText(QStringLiteral("Intercept: "));
    StaticText3->setText(QStringLiteral("D: "));
    Zemplot1->hide();
    repaint();
    Image1->ShowLoadedPicture();
    Image1->show();
    // A size still being typed is settled as leaving its field would settle it, so
    // that no size or step below 1 reaches the counting.
    for (TSpinEdit* edit : {SpinEdit1, SpinEdit2, SpinEdit3})
        edit->BringWithinRange();
    FMinBoxSize = SpinEdit1->Value();
    FMaxBoxSize = SpinEdit2->Value();
    const int increment = SpinEdit3->Value();
    StringGrid1->SetRowCount(FMaxBoxSize / increment + 5);
    for (int row = 1; row < StringGrid1->RowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            StringGrid1->SetCell(column, row, QString());
    TBoxCounts counts{};
    StringGrid1->SetCell(0, 0, QString::fromLatin1(kLogSizeHeader));
    StringGrid1->SetCell(1, 0, QString::fromLatin1(kLogCountHeader));
    if (const std::optional<TColor> colour = FDialogs.ChooseColour(FColour)) {
        FColour = *colour;
        CountBoxSizes(RgbOf(FColour), counts);
        FDialogs.Inform(QStringLiteral("Finished Counting"));
        ShowResults(counts);
    }
    Image1->hide();
    Zemplot1->show();
    repaint();
}

void TForm1::CountBoxSizes(uint32_t rgb, TBoxCounts& counts)
{
    const TBusyCursor busy;
    std::optional<TPixelMask> mask;
    std::optional<TBoxCounter> counter;
    const std::string separator = DecimalSeparator();
    int row = 1;
    for (int d = FMinBoxSize; d <= FMaxBoxSize; d += SpinEdit3->Value(), ++row) {
        if (!counter) {
            // The pixels of the picture as read, without the grid or the selection
            // drawn on it, are read once, at the first size; an icon or a metafile has
            // none and stops the analysis here.
            mask.emplace(MaskOfColour(Image1->LoadedPicture().Bitmap(), rgb));
            counter.emplace(*mask);
        }
        const uint64_t boxes = counter->Count(d);
        counts[static_cast<std::size_t>(d - 1)] = boxes;
        StringGrid1->SetCell(0, row, QString::fromStdString(LogCellText(Log10(d), separator)));
        StringGrid1->SetCell(1, row, QString::fromStdString(LogCellText(Log10(static_cast<long double>(boxes)), separator)));
        // Each row shows as soon as it is written.
        StringGrid1->repaint();
    }
}
