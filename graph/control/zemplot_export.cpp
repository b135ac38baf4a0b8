// The graph drawn somewhere else than on screen: SVG, bitmaps, PDF, the clipboard
// and files.
#include <algorithm>
#include <limits>

#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "graph/control/zemplot.h"
#include "graph/whole_file/whole_file.h"
#include "graph/core/error.h"
#include "graph/stream/memory_stream.h"

namespace {

uint16_t DrawingSize(int pixels)
{
    return static_cast<uint16_t>(std::clamp(pixels, 0, static_cast<int>(std::numeric_limits<uint16_t>::max())));
}

const QString kSaveFilter = QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");

}  // namespace

void TZemplot::DrawToMetafile(QSvgGenerator& target)
{
    const QSize size(width(), height());
    target.setSize(size);
    target.setViewBox(QRect(QPoint(0, 0), size));
    // The control's pixels are those of a screen of 96 per inch, as other programs
    // read an SVG's physical size.
    target.setResolution(96);
    target.setTitle(QString::fromStdString(FAppearance.GraphTitle()));
    // Texts are measured on the control's own canvas, as on screen, so that the
    // picture lays out as the control does. The canvas ends the SVG when it goes,
    // also after an error, and the SVG keeps what was drawn up to it.
    TQtCanvas canvas(target);
    DrawElsewhere(canvas, FOwnCanvas, DrawingSize(size.width()), DrawingSize(size.height()), true);
}

void TZemplot::DrawToBitmap(QImage& target)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    QImage image(target.size(), QImage::Format_RGB32);
    image.fill(ToQColor(FColor));
    {
        TQtCanvas canvas(image);
        DrawElsewhere(canvas, canvas, DrawingSize(image.width()), DrawingSize(image.height()), true);
    }
    target = image;
}

void TZemplot::CopyToClipboard()
{
    QByteArray svg;
    {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        DrawToMetafile(generator);
    }
    QImage bitmap(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    DrawToBitmap(bitmap);
    TMemoryStream stream;
    SaveGraphToStream(stream, true);

    auto* data = new QMimeData;
    const auto bytes = stream.Bytes();
    data->setData(QString::fromLatin1(kZemplotClipboardFormat),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    data->setImageData(bitmap);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    // The clipboard owns the data from here on.
    QGuiApplication::clipboard()->setMimeData(data);
}

void TZemplot::SaveGraphAs(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == u"png") {
        QImage bitmap(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
        DrawToBitmap(bitmap);
        bitmap.save(&buffer, "PNG");
    } else if (suffix == u"svg") {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        DrawToMetafile(generator);
    } else if (suffix == u"pdf") {
        // One page the size of the control, at screen resolution, so that the graph
        // keeps its proportions and its text sizes.
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(width(), height()) * 72.0 / 96.0, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QString::fromStdString(FAppearance.GraphTitle()));
        TQtCanvas canvas(writer);
        DrawElsewhere(canvas, FOwnCanvas, DrawingSize(width()), DrawingSize(height()), true);
    } else {
        throw TVandrelError(QStringLiteral("Unknown graph file extension (.%1)").arg(suffix).toStdString());
    }
    // Written beside the file and put in its place only when whole, so that a full
    // disk leaves the file that was there as it was.
    QSaveFile file(path);
    if (!WriteWhole(file, bytes))
        throw TVandrelError(
            QStringLiteral("The graph cannot be saved as %1 (%2)").arg(path, file.errorString()).toStdString());
}

void TZemplot::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    QAction* save = menu.addAction(QStringLiteral("Save graph as\u2026"));
    QAction* chosen = menu.exec(event->globalPos());
    try {
        if (chosen == copy) {
            CopyToClipboard();
        } else if (chosen == save) {
            QString filter;
            QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save graph as"), QString(), kSaveFilter, &filter);
            if (path.isEmpty())
                return;
            // A name typed without extension takes the kind chosen in the dialog.
            if (QFileInfo(path).suffix().isEmpty())
                path += QLatin1Char('.') + filter.section(QStringLiteral("*."), 1).chopped(1);
            SaveGraphAs(path);
        }
    } catch (const std::exception& error) {
        QMessageBox::warning(this, QStringLiteral("Graph"), QString::fromStdString(error.what()));
    }
}
