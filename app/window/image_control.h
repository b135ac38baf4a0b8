#pragma once

#include <functional>
#include <memory>

#include <QScrollArea>

#include "app/picture/loaded_picture.h"
#include "graph/control/qt_canvas.h"

class TPictureSurface;

// The picture area of the window: shows the loaded picture at its own size, with
// scroll bars when it is larger than the area, and gives a drawing surface on its
// pixels when the picture is a bitmap. Mouse positions are picture pixels.
class TImageControl : public QScrollArea {
public:
    using TMouseHandler = std::function<void(Qt::MouseButton button, int x, int y)>;

    explicit TImageControl(QWidget* parent = nullptr);
    ~TImageControl() override;

    // Reads the picture at `path` and keeps it as read; on failure the picture shown
    // before stays.
    void LoadFromFile(const QString& path);
    // The picture as read from its file, never drawn on: what is counted.
    const TLoadedPicture& LoadedPicture() const { return FLoaded; }
    // The picture as shown: the one read, with what was drawn on it since it was last
    // shown as read.
    const TLoadedPicture& Picture() const { return FPicture; }
    // Shows the picture as read again, without the file being read again: what was
    // drawn on it is gone and drawing starts afresh.
    void ShowLoadedPicture();
    // Bitmaps of more pixels than this are shown as a reduced preview.
    void SetMostShownPixels(uint64_t pixels) { FMostShownPixels = pixels; }
    // What turns metafiles into pictures: the program beside this one unless set.
    void SetMetafileConverter(const TMetafileConverter& converter) { FMetafileConverter = converter; }

    // Runs `drawing` on the drawing surface of the picture shown and shows the
    // result; the picture as read is copied on the first drawing and stays as it was.
    // The surface keeps its pen, brush and pen position from one drawing to the
    // next until a picture is loaded or shown as read again. Raises "Can only modify an image if it
    // contains a bitmap" when the picture is not a bitmap.
    void Draw(const std::function<void(TCanvas& canvas)>& drawing);

    // Runs `drawing` on the pixels of the picture shown and shows the result, for
    // drawings that would be slow through the surface on a large picture. Raises
    // "Can only modify an image if it contains a bitmap" when the picture is not a
    // bitmap.
    void DrawPixels(const std::function<void(QImage& pixels)>& drawing);

    // Lays `overlay` (the picture's size, or null for none) over the picture shown,
    // without touching its pixels, until another overlay is laid.
    void SetOverlay(QImage overlay);
    const QImage& Overlay() const { return FOverlay; }

    void SetPictureCursor(const QCursor& cursor);
    void SetOnMouseDown(TMouseHandler handler) { FOnMouseDown = std::move(handler); }
    void SetOnMouseMove(TMouseHandler handler) { FOnMouseMove = std::move(handler); }
    void SetOnMouseUp(TMouseHandler handler) { FOnMouseUp = std::move(handler); }
    // The widget that shows the picture and takes the mouse, for tests to press on.
    QWidget& Surface();

private:
    friend class TPictureSurface;

    bool RefreshShownPixels();

    TLoadedPicture FLoaded;
    TLoadedPicture FPicture; // shares FLoaded's pixels until something is drawn
    QImage FOverlay;
    TMetafileConverter FMetafileConverter;
    uint64_t FMostShownPixels = TLoadedPicture::kMostShownPixels;
    std::unique_ptr<TQtCanvas> FCanvas;
    TPictureSurface* FSurface;
    TMouseHandler FOnMouseDown;
    TMouseHandler FOnMouseMove;
    TMouseHandler FOnMouseUp;
};
