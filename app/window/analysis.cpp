// The analysis: count the boxes holding the chosen colour for every box size, list
// the logarithms, and hand the result to the graph and the labels.
#include "app/window/main_window.h"

#include <QApplication>

#include <algorithm>

#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"
#include "app/measure/shape_mask.h"
#include "app/measure/shape_measurement.h"
#include "graph/core/error.h"

namespace {

// The hourglass for as long as it lives, also when an error ends the counting.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

void TForm1::Analyse_Image()
{
    // A size still being typed is settled as leaving its field would settle it, so
    // that no size or step below 1 reaches the counting.
    for (TSpinEdit* edit : {SpinEdit1, SpinEdit2, SpinEdit3})
        edit->BringWithinRange();
    const int minimum = SpinEdit1->Value();
    const int maximum = SpinEdit2->Value();
    const int increment = SpinEdit3->Value();
    // What cannot be counted is refused before anything changes, so the results of
    // the last analysis stay as they were.
    if (minimum > maximum && FChoice.Sizes != TSizeSeries::List)
        throw TVandrelError("The minimum box size (" + std::to_string(minimum) + ") is above the maximum ("
                            + std::to_string(maximum) + "): there is no box size to count");
    if (!Image1->Picture().HasBitmap())
        throw TVandrelError(kNotABitmap);
    const std::vector<int> sizes = ChosenBoxSizes(FChoice, minimum, maximum, increment);
    const bool typed = FChoice.Sizes == TSizeSeries::List; // the spin edits do not bound them
    FShape.Region = FChoice.InsideRectangle ? std::optional(SelectedRegion()) : std::nullopt;
    TShapeChoice shape = FShape;
    // Only the exact colour is asked at every analysis; the other rules were chosen.
    if (FChoice.Foreground == TForegroundKind::ExactColour) {
        const std::optional<TColor> colour = FDialogs.ChooseColour(FColour);
        if (!colour)
            return;
        FColour = *colour;
    }
    shape.Foreground = ForegroundRuleOf(FChoice, FColour);
    // The picture as it was read, without the grid or the rectangle drawn on the copy
    // that is shown.
    Image1->ShowLoadedPicture();
    TShapeMask chosen = ShapeMaskOf(Image1->LoadedPicture().Bitmap(), shape);

    ClearResults();
    repaint();
    FMinBoxSize = minimum;
    FMaxBoxSize = maximum;
    TAnalysisResult result{.PictureFile = FPictureFile,
                           .PictureSize = Image1->Picture().Size(),
                           .Shape = shape,
                           .Foreground = chosen.Rule,
                           .Method = FMethod,
                           .MinBoxSize = typed ? sizes.front() : minimum,
                           .MaxBoxSize = typed ? sizes.back() : maximum,
                           .Increment = increment,
                           .BoxSizes = sizes,
                           .Measurement = {},
                           .Made = QDateTime::currentDateTime()};
    CountBoxSizes(chosen.Mask, result);
    FDialogs.Inform(QStringLiteral("Finished Counting"));
    ShowResults(result);
    FLastAnalysis = std::move(result);
    repaint();
}

void TForm1::CountBoxSizes(const TPixelMask& mask, TAnalysisResult& result)
{
    const TBusyCursor busy;
    const std::vector<int>& sizes = result.BoxSizes;
    StringGrid1->SetRowCount(std::max(result.MaxBoxSize / result.Increment, static_cast<int>(sizes.size()) - 1) + 5);
    StringGrid1->SetCell(0, 0, QString::fromLatin1(kLogSizeHeader));
    StringGrid1->SetCell(1, 0, QString::fromLatin1(kLogCountHeader));
    result.Measurement = MeasureShape(mask, sizes, result.Method,
                                      result.Shape.Region ? TMeasuredArea::Region : TMeasuredArea::Picture);
    const std::string separator = DecimalSeparator();
    int row = 1;
    for (const TBoxCount& count : result.Counts()) {
        StringGrid1->SetCell(0, row, QString::fromStdString(LogCellText(Log10(count.BoxSize), separator)));
        StringGrid1->SetCell(1, row,
                             QString::fromStdString(LogCellText(Log10(static_cast<long double>(count.Boxes)), separator)));
        ++row;
    }
    StringGrid1->repaint();
}
