#include "app/window/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

void DrawOpen(QPainter& p)
{
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(255, 230, 130));
    p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {13, 14}, {1, 14}}));
}

void DrawAnalyse(QPainter& p)
{
    // Boxes of two sizes over a shape: what the analysis does.
    p.setPen(QColor(0, 128, 0));
    p.setBrush(QColor(0, 160, 0));
    p.drawEllipse(3, 3, 9, 9);
    p.setPen(QColor(200, 0, 0));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i <= 16; i += 5) {
        p.drawLine(i, 0, i, 15);
        p.drawLine(0, i, 15, i);
    }
}

void DrawSave(QPainter& p)
{
    p.setPen(QColor(0, 64, 0));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    p.setPen(QColor(0, 128, 0));
    for (int y = 4; y < 14; y += 3)
        p.drawLine(2, y, 13, y);
    p.drawLine(7, 2, 7, 13);
}

void DrawClipboard(QPainter& p)
{
    p.setPen(QColor(96, 64, 0));
    p.setBrush(QColor(200, 150, 80));
    p.drawRect(2, 2, 11, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 4, 7, 9);
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(5, 1, 5, 2);
    p.setPen(QColor(0, 0, 160));
    p.drawLine(5, 11, 7, 8);
    p.drawLine(7, 8, 10, 6);
}

void DrawAbout(QPainter& p)
{
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(60, 90, 220));
    p.drawEllipse(1, 1, 13, 13);
    p.setPen(Qt::white);
    p.setBrush(Qt::white);
    p.drawRect(7, 6, 1, 6);
    p.drawRect(7, 3, 1, 1);
}

void DrawClose(QPainter& p)
{
    // A door with an arrow leaving it.
    p.setPen(QColor(96, 48, 0));
    p.setBrush(QColor(170, 110, 50));
    p.drawRect(2, 1, 7, 14);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(8, 8, 14, 8);
    p.drawLine(11, 5, 14, 8);
    p.drawLine(11, 11, 14, 8);
}

void DrawHelp(QPainter& p)
{
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(255, 255, 190));
    p.drawEllipse(1, 1, 13, 13);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

QPixmap Greyed(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int grey = 128 + qGray(pixel) / 3;
            image.setPixel(x, y, qRgba(grey, grey, grey, qAlpha(pixel)));
        }
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon GlyphIcon(TGlyph glyph)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        switch (glyph) {
        case TGlyph::Open: DrawOpen(painter); break;
        case TGlyph::Analyse: DrawAnalyse(painter); break;
        case TGlyph::Save: DrawSave(painter); break;
        case TGlyph::Clipboard: DrawClipboard(painter); break;
        case TGlyph::About: DrawAbout(painter); break;
        case TGlyph::Close: DrawClose(painter); break;
        case TGlyph::Help: DrawHelp(painter); break;
        }
    }
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(Greyed(pixmap), QIcon::Disabled);
    return icon;
}
