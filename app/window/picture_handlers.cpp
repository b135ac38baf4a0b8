// The picture side of the main window: opening, the box-size grid, the selection
// rectangle and the picture's cursor.
#include "app/window/main_window.h"

#include <QFileInfo>

namespace {

const QString kPictureFilter = QStringLiteral(
    "All (*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff)"
    "|*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff"
    "|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");

constexpr TColor kGridColour = 255; // pure red

}  // namespace

void TForm1::OpenPictureFile()
{
    const std::optional<QString> chosen = FDialogs.OpenFile(kPictureFilter);
    if (!chosen)
        return;
    // Loaded first: a picture that cannot be read changes nothing.
    Image1->LoadFromFile(*chosen);
    FPictureFile = *chosen;
    ClearResults();
    // Icons and metafiles have no pixels to count or draw on.
    const bool measurable = Image1->Picture().HasBitmap();
    for (QWidget* control : {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(SpinEdit2),
                             static_cast<QWidget*>(SpinEdit3), static_cast<QWidget*>(BitBtn3)})
        control->setEnabled(measurable);
    PictureNote->setText(measurable ? QString()
                                    : QStringLiteral("Icons and metafiles are shown, not measured: only a bitmap "
                                                     "(BMP, PNG, JPEG, GIF, TIFF) can be analysed."));
    setWindowTitle(QStringLiteral("Vandrel -- ") + PictureName());
    SetImageCursor(true);
}

void TForm1::SpinEdit1Change()
{
    FMinBoxSize = SpinEdit1->Value();
    GridUp(FMinBoxSize);
}

void TForm1::SpinEdit2Change()
{
    FMaxBoxSize = SpinEdit2->Value();
    GridUp(FMaxBoxSize);
}

void TForm1::GridUp(int n)
{
    Image1->LoadFromFile(FPictureFile);
    const QSize size = Image1->Picture().Size();
    Image1->Draw([n, size](TCanvas& canvas) {
        canvas.SetPenColor(kGridColour);
        // Not-xor keeps the lines visible on any background.
        canvas.SetPenMode(pmNotXor);
        // A size typed as 0 or less has no grid to draw.
        if (n <= 0)
            return;
        // Both loops include the picture's own width and height: a size that divides
        // them gets a last line just outside the picture.
        for (long long x = 0; x <= size.width(); x += n) {
            canvas.MoveTo(static_cast<int32_t>(x), 0);
            canvas.LineTo(static_cast<int32_t>(x), size.height());
        }
        for (long long y = 0; y <= size.height(); y += n) {
            canvas.MoveTo(0, static_cast<int32_t>(y));
            canvas.LineTo(size.width(), static_cast<int32_t>(y));
        }
    });
}

void TForm1::SetImageCursor(bool show)
{
    Image1->SetPictureCursor(show ? FPictureCursor : QCursor(Qt::ArrowCursor));
}

void TForm1::Image1MouseDown(Qt::MouseButton, int x, int y)
{
    // Nothing can be drawn on an icon or a metafile, and a click on one is no error.
    if (!Image1->Picture().HasBitmap())
        return;
    Image1->Draw([&](TCanvas& canvas) {
        canvas.SetBrushStyle(bsClear);
        FSelecting = true;
        canvas.MoveTo(x, y);
        FSelStartX = FSelEndX = x;
        FSelStartY = FSelEndY = y;
    });
}

void TForm1::Image1MouseMove(Qt::MouseButton, int x, int y)
{
    if (!FSelecting)
        return;
    Image1->Draw([&](TCanvas& canvas) {
        // Drawing the same rectangle twice in not-xor restores the pixels, so the
        // first one takes away the band drawn at the last move.
        canvas.SetPenMode(pmNotXor);
        canvas.Rectangle(FSelStartX, FSelStartY, FSelEndX, FSelEndY);
        FSelEndX = x;
        FSelEndY = y;
        canvas.Rectangle(FSelStartX, FSelStartY, FSelEndX, FSelEndY);
    });
}

void TForm1::Image1MouseUp(Qt::MouseButton, int, int)
{
    if (!FSelecting)
        return;
    Image1->Draw([&](TCanvas& canvas) {
        canvas.SetPenMode(pmCopy);
        canvas.Rectangle(FSelStartX, FSelStartY, FSelEndX, FSelEndY);
        FSelecting = false;
    });
}
