// vandrel-count choosing the shape's pixels and where to count, as a user runs it.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <random>

#include "app/fractal/mask_image.h"
#include "app/fractal/reference_shapes.h"
#include "tests/app/count/count_run.h"

namespace {

QJsonObject Json(const TRun& run)
{
    EXPECT_EQ(run.Status, 0) << run.Err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.Out)).object();
}

QImage ShapePicture(const char* name, int size, int marginX, int marginY)
{
    const TReferenceShape& shape = *FindReferenceShape(name);
    return MaskImage(WithMargin(shape.Draw(size, 1), marginX, marginY)).convertToFormat(QImage::Format_RGB32);
}

class ShapeChoice : public testing::Test {
protected:
    QString Saved(const QImage& image, const QString& name, int quality = -1)
    {
        const QString path = FFolder.filePath(name);
        EXPECT_TRUE(image.save(path, nullptr, quality));
        return path;
    }

    QTemporaryDir FFolder;
};

// Compression moves the colours of a drawn shape; a threshold chosen by Otsu's method
// takes it back.
TEST_F(ShapeChoice, AJpegCarpetThresholdedByOtsuMeasuresAsItsPng)
{
    const QImage carpet = ShapePicture("carpet", 729, 31, 17);
    const QStringList method = {"--format", "json", "--grid", "min", "--sizes", "1,3,9,27,81,243"};
    const double exact = Json(RunCount(method + QStringList{Saved(carpet, "carpet.png")}))["D"].toDouble();
    const QString jpeg = Saved(carpet, "carpet.jpg", 90);
    const QJsonObject thresholded = Json(RunCount(method + QStringList{"--threshold", "otsu", jpeg}));
    EXPECT_NEAR(thresholded["D"].toDouble(), exact, 0.02);
    const QJsonObject foreground = thresholded["foreground"].toObject();
    EXPECT_TRUE(foreground["otsu"].toBool());
    EXPECT_EQ(foreground["side"].toString(), "dark");
    EXPECT_GT(foreground["level"].toInt(), 20);
    EXPECT_LT(foreground["level"].toInt(), 235);
    EXPECT_FALSE(thresholded.contains("colour"));

    // The exact colour misses most of the shape's pixels; a tolerance wide enough finds them.
    const int exactPixels = Json(RunCount(method + QStringList{jpeg}))["foreground"].toObject()["shape_pixels"].toInt();
    const QJsonObject tolerant = Json(RunCount(method + QStringList{"--tolerance", "100", jpeg}));
    EXPECT_LT(exactPixels, tolerant["foreground"].toObject()["shape_pixels"].toInt());
    EXPECT_NEAR(tolerant["D"].toDouble(), exact, 0.02);
    EXPECT_EQ(tolerant["foreground"].toObject()["rule"].toString(), "colour #000000 within 100");
}

TEST_F(ShapeChoice, TheOutlineOfAFilledDiscIsALine)
{
    QImage disc(1000, 1000, QImage::Format_RGB32);
    disc.fill(Qt::white);
    QPainter painter(&disc);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(37.0, 61.0, 900.0, 900.0));
    painter.end();
    const QString path = Saved(disc, "disc.png");
    const QStringList method = {"--format", "json", "--grid", "min", "--sizes", "2,4,8,16,32,64"};
    const QJsonObject filled = Json(RunCount(method + QStringList{path}));
    const QJsonObject outline = Json(RunCount(method + QStringList{"--outline", path}));
    EXPECT_NEAR(filled["D"].toDouble(), 2.0, 0.05);
    EXPECT_NEAR(outline["D"].toDouble(), 1.0, 0.05);
    EXPECT_TRUE(outline["foreground"].toObject()["outline"].toBool());
    // About the circumference, 900 π, a pixel wide.
    EXPECT_NEAR(outline["foreground"].toObject()["shape_pixels"].toDouble(), 900 * M_PI, 900 * M_PI * 0.3);
}

// Three shapes of known dimension apart in one picture, and a speck too small to measure.
TEST_F(ShapeChoice, EachPieceIsMeasuredApartWithItsOwnDimension)
{
    QImage picture(1000, 700, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(20, 30, ShapePicture("carpet", 243, 0, 0));
    painter.drawImage(700, 10, ShapePicture("square", 243, 0, 0));
    painter.drawImage(300, 400, ShapePicture("koch", 243, 0, 0));
    painter.fillRect(900, 600, 3, 3, Qt::black);
    painter.end();
    const TRun run = RunCount({"--format", "json", "--objects", "--grid", "min", "--sizes", "geometric", "--ratio", "3",
                               "--min", "1", "--max", "243", "--fit", "auto", Saved(picture, "three.png")});
    const QJsonObject result = Json(run);
    EXPECT_EQ(result["objects_left_out"].toInt(), 1);
    EXPECT_EQ(result["min_pixels"].toInt(), 50);
    const QJsonArray objects = result["objects"].toArray();
    ASSERT_EQ(objects.size(), 3);
    // In reading order: by the top of each box.
    const struct { const char* Name; int X, Y; } expected[] = {{"square", 700, 10}, {"carpet", 20, 30}, {"koch", 300, 400}};
    for (int i = 0; i < 3; ++i) {
        const TReferenceShape& shape = *FindReferenceShape(expected[i].Name);
        const QJsonObject object = objects[i].toObject();
        EXPECT_EQ(object["box"].toObject()["x"].toInt(), expected[i].X) << expected[i].Name;
        EXPECT_EQ(object["box"].toObject()["y"].toInt(), expected[i].Y) << expected[i].Name;
        EXPECT_NEAR(object["D"].toDouble(), shape.ExactDimension, shape.Tolerance) << expected[i].Name;
        EXPECT_EQ(object["ci95"].toArray().size(), 2) << expected[i].Name;
    }
}

TEST_F(ShapeChoice, ARegionCountsAsTheSameRectangleCutOutAndSaved)
{
    QImage picture(301, 203, QImage::Format_RGB32);
    picture.fill(Qt::white);
    std::mt19937 random(5);
    std::bernoulli_distribution set(0.05);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (set(random))
                picture.setPixel(x, y, qRgb(0, 0, 0));
    const QString whole = Saved(picture, "whole.png");
    const QStringList method = {"--format", "json", "--grid", "all", "--sizes", "1,2,3,5,8,13,21,34,55,89,144"};
    for (const QRect rect : {QRect(67, 13, 131, 97), QRect(0, 0, 301, 203), QRect(64, 1, 1, 200)}) {
        const QString region = QString("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
        const QJsonObject inside = Json(RunCount(method + QStringList{"--region", region, whole}));
        const QJsonObject cut = Json(RunCount(method + QStringList{Saved(picture.copy(rect), "cut.png")}));
        EXPECT_EQ(inside["boxes"], cut["boxes"]) << region.toStdString();
        EXPECT_EQ(inside["region"].toObject()["width"].toInt(), rect.width());
    }

    const TRun outside = RunCount({"--region", "250,100,60,20", whole});
    EXPECT_EQ(outside.Status, 1);
    EXPECT_EQ(outside.Err, "vandrel-count: " + whole.toStdString() +
                               ": The region 250,100,60,20 does not lie inside the picture (301 x 203 pixels)\n");
}

}  // namespace
