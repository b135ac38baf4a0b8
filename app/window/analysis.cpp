// The analysis: count the boxes holding the chosen colour for every box size, list
// the logarithms, and hand the result to the graph and the labels.
#include "app/window/main_window.h"

#include "app/engine/box_sizes.h"
#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"
#include "app/measure/shape_mask.h"
#include "app/window/background_measure.h"
#include "graph/core/error.h"

namespace {

// A counting that takes longer shows its progress and can be cancelled.
constexpr std::chrono::milliseconds kProgressDelay(500);

uint32_t RgbOf(TColor colour)
{
    return static_cast<uint32_t>(RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour));
}

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
    if (minimum > maximum)
        throw TVandrelError("The minimum box size (" + std::to_string(minimum) + ") is above the maximum ("
                            + std::to_string(maximum) + "): there is no box size to count");
    if (!Image1->Picture().HasBitmap())
        throw TVandrelError(kNotABitmap);
    const std::optional<TColor> colour = FDialogs.ChooseColour(FColour);
    if (!colour)
        return;
    FColour = *colour;
    TShapeChoice shape = FShape;
    shape.Foreground = TForegroundRule::Colour(RgbOf(FColour));
    // The picture as it was read, without the grid or the rectangle drawn on the copy
    // that is shown.
    Image1->ShowLoadedPicture();
    TShapeMask chosen = ShapeMaskOf(Image1->LoadedPicture().Bitmap(), shape);

    FMinBoxSize = minimum;
    FMaxBoxSize = maximum;
    TAnalysisResult result{.PictureFile = FPictureFile,
                           .PictureSize = Image1->Picture().Size(),
                           .Shape = shape,
                           .Foreground = chosen.Rule,
                           .Method = FMethod,
                           .MinBoxSize = minimum,
                           .MaxBoxSize = maximum,
                           .Increment = increment,
                           .Measurement = {},
                           .Made = QDateTime::currentDateTime()};
    const std::vector<int> sizes = BoxSizes(minimum, maximum, increment);
    std::optional<TShapeMeasurement> measured = MeasureWithProgress(*this, chosen.Mask, sizes, FMethod, kProgressDelay);
    // Cancelled: the last results stay as they were, as they do when the counting fails.
    if (!measured)
        return;
    result.Measurement = std::move(*measured);
    ClearResults();
    FillTable(result);
    FDialogs.Inform(QStringLiteral("Finished Counting"));
    ShowResults(result);
    FLastAnalysis = std::move(result);
    repaint();
}

void TForm1::FillTable(const TAnalysisResult& result)
{
    StringGrid1->SetRowCount(result.MaxBoxSize / result.Increment + 5);
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
