// The analysis: count the boxes holding the chosen colour for every box size, list
// the logarithms, and hand the result to the graph and the labels.
#include "app/window/main_window.h"

#include <algorithm>

#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"
#include "app/measure/shape_mask.h"
#include "app/window/background_measure.h"
#include "graph/core/error.h"

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
    const TLoadedPicture& picture = Image1->LoadedPicture();

    TAnalysisResult result{.PictureFile = FPictureFile,
                           .PictureSize = picture.FullSize(),
                           .Shape = shape,
                           .Foreground = shape.Foreground,
                           .Method = FMethod,
                           .MinBoxSize = typed ? sizes.front() : minimum,
                           .MaxBoxSize = typed ? sizes.back() : maximum,
                           .Increment = increment,
                           .BoxSizes = sizes,
                           .Measurement = {},
                           .Made = QDateTime::currentDateTime()};
    // The mask is built with the counting, away from the window: a preview's picture
    // is decoded again from its file, which takes seconds when it is large.
    const TMeasuredArea area = shape.Region ? TMeasuredArea::Region : TMeasuredArea::Picture;
    std::optional<TShapeMeasurement> measured = MeasureWithProgress(
        *this,
        [&](TCountProgress& progress) {
            TShapeMask chosen = ShapeMaskOf(picture.MaskOf(shape.Foreground), shape);
            result.Foreground = chosen.Rule;
            return MeasureShape(chosen.Mask, sizes, result.Method, area, &progress);
        },
        FProgressDelay);
    // Cancelled: the last results stay as they were, as they do when the counting fails.
    if (!measured)
        return;
    result.Measurement = std::move(*measured);
    FMinBoxSize = minimum;
    FMaxBoxSize = maximum;
    ClearResults();
    FillTable(result);
    FDialogs.Inform(QStringLiteral("Finished Counting"));
    ShowResults(result);
    FLastAnalysis = std::move(result);
    repaint();
}

void TForm1::FillTable(const TAnalysisResult& result)
{
    StringGrid1->SetRowCount(
        std::max(result.MaxBoxSize / result.Increment, static_cast<int>(result.BoxSizes.size()) - 1) + 5);
    StringGrid1->SetCell(0, 0, QString::fromLatin1(kLogSizeHeader));
    StringGrid1->SetCell(1, 0, QString::fromLatin1(kLogCountHeader));
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
