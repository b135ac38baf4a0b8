// The picture side of the main window: opening, the box-size grid, the selection
// rectangle and the picture's cursor.
#include "app/window/main_window.h"

#include <QFileInfo>

#include "app/window/busy_cursor.h"
#include "app/window/grid_lines.h"
#include "app/window/recent_pictures.h"

namespace {

// One entry of the open dialog: "Caption (*.a *.b)|*.a;*.b".
QString FilterEntry(const QString& caption, const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << QStringLiteral("*.") + extension;
    return QStringLiteral("%1 (%2)|%3").arg(caption, patterns.join(u' '), patterns.join(u';'));
}

// Every kind the window opens first, so that any picture is listed at once.
QString PictureFilter()
{
    const QStringList bitmaps{"bmp", "png", "jpg", "jpeg", "gif", "tif", "tiff"};
    const QStringList icons{"ico"};
    const QStringList enhancedMetafiles{"emf"};
    const QStringList metafiles{"wmf"};
    return QStringList{FilterEntry(QStringLiteral("All pictures"), bitmaps + icons + enhancedMetafiles + metafiles),
                       FilterEntry(QStringLiteral("Bitmaps"), bitmaps), FilterEntry(QStringLiteral("Icons"), icons),
                       FilterEntry(QStringLiteral("Enhanced Metafiles"), enhancedMetafiles),
                       FilterEntry(QStringLiteral("Metafiles"), metafiles)}
        .join(u'|');
}

constexpr TColor kGridColour = 255; // pure red

}  // namespace

void TForm1::OpenPictureFile()
{
    const std::optional<QString> chosen = FDialogs.OpenFile(PictureFilter(), LastPictureFolder());
    if (chosen)
        LoadPicture(*chosen);
}

void TForm1::LoadPicture(const QString& path)
{
    // Loaded first: a picture that cannot be read changes nothing.
    {
        const TBusyCursor busy; // a large picture takes seconds
        Image1->LoadFromFile(path);
    }
    RememberOpenedPicture(path);
    FPictureFile = path;
    FSelectionDrawn = false;
    ClearResults();
    // Icons and metafiles have no pixels to count or draw on.
    const bool measurable = Image1->Picture().HasBitmap();
    for (QWidget* control : {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(SpinEdit2),
                             static_cast<QWidget*>(SpinEdit3), static_cast<QWidget*>(BitBtn3)})
        control->setEnabled(measurable);
    const TLoadedPicture& picture = Image1->LoadedPicture();
    const QString size = QStringLiteral("%1 \u00d7 %2").arg(picture.FullSize().width()).arg(picture.FullSize().height());
    if (!measurable)
        PictureNote->setText(QStringLiteral("Icons and metafiles are shown, not measured: only a bitmap "
                                            "(BMP, PNG, JPEG, GIF, TIFF) can be analysed."));
    else if (picture.Scale() > 1)
        PictureNote->setText(QStringLiteral("Too large to show whole (%1 pixels): shown reduced 1:%2. The grid "
                                            "and the rectangle are drawn on the preview; every pixel is counted.")
                                 .arg(size)
                                 .arg(picture.Scale()));
    else
        PictureNote->clear();
    setWindowTitle(QStringLiteral("Vandrel -- ") + PictureName() +
                   (picture.Scale() > 1 ? QStringLiteral(" (%1, preview reduced 1:%2)").arg(size).arg(picture.Scale())
                                        : QString()));
    SetImageCursor(true);
    RefreshOverlay();
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
    // The grid goes on a copy of the picture kept in memory: reading the file again
    // at every key typed would take seconds on a large picture.
    Image1->ShowLoadedPicture();
    Image1->Draw([](TCanvas& canvas) {
        canvas.SetPenColor(kGridColour);
        // Not-xor keeps the lines visible on any background; the selection drawn
        // next is drawn in this pen too.
        canvas.SetPenMode(pmNotXor);
    });
    const int scale = Image1->LoadedPicture().Scale();
    Image1->DrawPixels([n, scale](QImage& pixels) { DrawNotXorGrid(pixels, n, ToQColor(kGridColour).rgb(), scale); });
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
    if (FPicking) {
        TakeColourAt(x, y);
        return;
    }
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
    FSelectionDrawn = true;
}
