// Writes the sample pictures into the folder given as the only argument: shapes in
// black on white whose box-counting dimension is known.
//   carpet.png  Sierpinski's carpet, 729 = 3^6 pixels wide: D = log 8 / log 3 = 1.893
//   square.png  1000 by 1000 pixels, all black: D = 2
//   pixel.bmp   64 by 64 pixels, one black pixel at (20, 30): D = 0

#include <QColor>
#include <QDir>
#include <QImage>

#include <cstdio>

#include "app/fractal/self_similar_shapes.h"

namespace {

QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);

    QImage carpet = Filled(729, 729, white);
    for (int y = 0; y < carpet.height(); ++y)
        for (int x = 0; x < carpet.width(); ++x)
            if (InCarpet(x, y))
                carpet.setPixel(x, y, black);
    // One bit per pixel keeps the file small.
    const bool carpetSaved = carpet.convertToFormat(QImage::Format_Mono).save(folder.filePath("carpet.png"));

    const bool squareSaved =
        Filled(1000, 1000, black).convertToFormat(QImage::Format_Mono).save(folder.filePath("square.png"));

    QImage pixel = Filled(64, 64, white);
    pixel.setPixel(20, 30, black);
    const bool pixelSaved = pixel.save(folder.filePath("pixel.bmp"));

    if (!carpetSaved || !squareSaved || !pixelSaved) {
        std::fprintf(stderr, "make_samples: could not write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
