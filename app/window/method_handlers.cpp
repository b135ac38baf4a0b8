// The method side of the main window: the method dialog, its remembered choices, the
// colour picked from the picture, the overlay of the shape's pixels and the region.
#include "app/window/main_window.h"

#include <algorithm>
#include <cstdlib>

#include "app/picture/foreground_mask.h"
#include "app/window/method_dialog.h"
#include "app/window/method_settings.h"
#include "app/window/shape_overlay.h"
#include "graph/core/error.h"

namespace {

// Magenta shows on black, white and grey alike; translucent, the picture stays readable.
constexpr QRgb kOverlayColour = qRgba(255, 0, 255, 150);

}  // namespace

void TForm1::ShowMethodDialog()
{
    MethodDialog->Show(FChoice, FColour);
    MethodDialog->show();
    MethodDialog->raise();
    RefreshOverlay();
}

void TForm1::MethodChanged()
{
    FChoice = MethodDialog->Choice();
    FMethod = CountMethodOf(FChoice);
    SaveRememberedMethod({FChoice, FColour});
    RefreshOverlay();
}

void TForm1::PickFromPicture()
{
    FPicking = true;
    Image1->SetPictureCursor(QCursor(Qt::CrossCursor));
}

void TForm1::ChooseShapeColour()
{
    const std::optional<TColor> colour = FDialogs.ChooseColour(FColour);
    if (!colour)
        return;
    FColour = *colour;
    MethodDialog->Show(FChoice, FColour);
    MethodChanged();
}

void TForm1::TakeColourAt(int x, int y)
{
    FPicking = false;
    SetImageCursor(true);
    const QImage& picture = Image1->LoadedPicture().Bitmap();
    if (!picture.valid(x, y))
        return;
    const QRgb pixel = picture.pixel(x, y);
    FColour = static_cast<TColor>(qRed(pixel) | qGreen(pixel) << 8 | qBlue(pixel) << 16);
    MethodDialog->Show(FChoice, FColour);
    MethodChanged();
}

TMaskRect TForm1::SelectedRegion() const
{
    const QRect drawn = QRect(QPoint(std::min(FSelStartX, FSelEndX), std::min(FSelStartY, FSelEndY)),
                              QSize(std::abs(FSelEndX - FSelStartX), std::abs(FSelEndY - FSelStartY)));
    // Dragged past the picture's edge, the rectangle means the picture up to that edge.
    const QRect region = drawn.intersected(QRect(QPoint(0, 0), Image1->LoadedPicture().Size()));
    if (!FSelectionDrawn || region.isEmpty())
        throw TVandrelError("Draw the rectangle to count inside on the picture first, or clear \"Count inside "
                            "the rectangle only\"");
    // On a preview each pixel stands for a block of the picture: the region holds the
    // blocks the rectangle covers.
    const TLoadedPicture& picture = Image1->LoadedPicture();
    const int scale = picture.Scale();
    const QRect blocks = QRect(region.topLeft() * scale, region.size() * scale)
                             .intersected(QRect(QPoint(0, 0), picture.FullSize()));
    return {blocks.x(), blocks.y(), blocks.width(), blocks.height()};
}

void TForm1::RefreshOverlay()
{
    if (!MethodDialog->isVisible() || !Image1->LoadedPicture().HasBitmap()) {
        Image1->SetOverlay(QImage());
        return;
    }
    const TForegroundMask shape = MaskOfForeground(Image1->LoadedPicture().Bitmap(), ForegroundRuleOf(FChoice, FColour));
    Image1->SetOverlay(ShapeOverlay(shape.Mask, kOverlayColour));
}
