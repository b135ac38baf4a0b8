#include "app/window/image_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/picture/picture_file.h"
#include "graph/core/error.h"

class TPictureSurface : public QWidget {
public:
    explicit TPictureSurface(TImageControl& control) : FControl(control) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (FControl.FPicture.Empty())
            return;
        QPainter painter(this);
        FControl.FPicture.Draw(painter, QPoint(0, 0));
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
    FPicture = TLoadedPicture::FromFile(path, FMetafileConverter);
    // A fresh surface for the fresh pixels: default pen, brush and position.
    FCanvas = std::make_unique<TQtCanvas>();
    FSurface->resize(FPicture.Size());
    FSurface->update();
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

void TImageControl::SetPictureCursor(const QCursor& cursor)
{
    FSurface->setCursor(cursor);
}

QWidget& TImageControl::Surface()
{
    return *FSurface;
}
