#include "app/window/image_control.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstring>
#include <utility>

#include "app/picture/picture_file.h"
#include "graph/core/error.h"

class TPictureSurface : public QWidget {
public:
    explicit TPictureSurface(TImageControl& control) : FControl(control) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (FControl.FPicture.Empty())
            return;
        QPainter painter(this);
        FControl.FPicture.Draw(painter, QPoint(0, 0));
        // Only the part in view: the whole overlay of a large picture would cost far
        // more than the picture's own copy.
        if (!FControl.FOverlay.isNull())
            painter.drawImage(event->rect(), FControl.FOverlay, event->rect());
    }

    void mousePressEvent(QMouseEvent* event) override { Pass(FControl.FOnMouseDown, event); }
    void mouseMoveEvent(QMouseEvent* event) override { Pass(FControl.FOnMouseMove, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Pass(FControl.FOnMouseUp, event); }

private:
    static void Pass(const TImageControl::TMouseHandler& handler, QMouseEvent* event)
    {
        if (handler) {
            const QPoint at = event->position().toPoint();
            handler(event->button(), at.x(), at.y());
        }
    }

    TImageControl& FControl;
};

TImageControl::TImageControl(QWidget* parent)
    : QScrollArea(parent), FCanvas(std::make_unique<TQtCanvas>()), FSurface(new TPictureSurface(*this))
{
    setFrameShape(NoFrame);
    setBackgroundRole(QPalette::Window);
    // Moves are wanted only while a button is held, as the selection needs them.
    FSurface->setMouseTracking(false);
    FSurface->resize(85, 85);
    setWidget(FSurface);
}

TImageControl::~TImageControl() = default;

void TImageControl::LoadFromFile(const QString& path)
{
    FLoaded = TLoadedPicture::FromFile(path, FMetafileConverter, FMostShownPixels);
    ShowLoadedPicture();
}

void TImageControl::ShowLoadedPicture()
{
    // A copy of a picture shares its pixels: the first drawing on the shown picture
    // detaches them, so the picture as read is never drawn on.
    if (!RefreshShownPixels())
        FPicture = FLoaded;
    // A fresh surface for the fresh pixels: default pen, brush and position.
    FCanvas = std::make_unique<TQtCanvas>();
    FSurface->resize(FPicture.Size());
    FSurface->update();
}

// Puts the pixels as read back into the picture shown, in the memory it already has
// of its own: a fresh copy of a large picture would cost the page faults of all its
// memory again at every grid change.
bool TImageControl::RefreshShownPixels()
{
    if (!FPicture.HasBitmap() || !FLoaded.HasBitmap())
        return false;
    QImage& shown = FPicture.Bitmap();
    const QImage& loaded = std::as_const(FLoaded).Bitmap();
    if (shown.constBits() == loaded.constBits() || shown.format() != loaded.format() ||
        shown.size() != loaded.size() || shown.bytesPerLine() != loaded.bytesPerLine())
        return false;
    std::memcpy(shown.bits(), loaded.constBits(), static_cast<std::size_t>(loaded.sizeInBytes()));
    return true;
}

void TImageControl::Draw(const std::function<void(TCanvas& canvas)>& drawing)
{
    if (!FPicture.HasBitmap())
        throw TVandrelError(kNotABitmap);
    struct TEnd {
        TQtCanvas& Canvas;
        ~TEnd() { Canvas.End(); }
    };
    FCanvas->Begin(FPicture.Bitmap());
    {
        TEnd end{*FCanvas};
        drawing(*FCanvas);
    }
    FSurface->update();
}

void TImageControl::DrawPixels(const std::function<void(QImage& pixels)>& drawing)
{
    drawing(FPicture.Bitmap());
    FSurface->update();
}

void TImageControl::SetOverlay(QImage overlay)
{
    FOverlay = std::move(overlay);
    FSurface->update();
}

void TImageControl::SetPictureCursor(const QCursor& cursor)
{
    FSurface->setCursor(cursor);
}

QWidget& TImageControl::Surface()
{
    return *FSurface;
}
