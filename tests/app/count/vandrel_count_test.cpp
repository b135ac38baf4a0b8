// vandrel-count as a user runs it: its output, its errors and its exit status.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <tiffio.h>

#include "tests/app/count/count_run.h"

namespace {

class VandrelCount : public testing::Test {
protected:
    // A 100 by 100 picture wholly black.
    QString BlackSquare()
    {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        const QString path = FFolder.filePath("black.bmp");
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir FFolder;
};

TEST_F(VandrelCount, TablePrintsTheResultRowsTheHeaderAndOneRowPerSize)
{
    // N(10) = 100 (boxes starting at 100 lie outside), N(30) = 16, N(50) = 4.
    const TRun run = RunCount({"--min", "10", "--max", "50", "--step", "20", BlackSquare()});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "File:                          black.bmp\n"
              "Slope:                         -1.9472\n"
              "Intercept:                     3.9793\n"
              "Correlation coefficient (r):   -0.9918\n"
              "log(d)                         log(N(d))\n"
              "1.000000000000                 2.000000000000\n"
              "1.477121254720                 1.204119982656\n"
              "1.698970004336                 0.602059991328\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(VandrelCount, ASinglePixelIsOneBoxAtEverySize)
{
    const TRun run = RunCount({"--format", "csv", "--min", "1", "--max", "101", Sample("pixel.bmp")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("File: ,pixel.bmp\nSlope: ,0.0000\n"), std::string::npos) << run.Out;
    const std::string rows = run.Out.substr(run.Out.find("log(d),log(N(d))\n"));
    EXPECT_EQ(rows,
              "log(d),log(N(d))\n"
              "0.000000000000,0.000000000000\n1.041392685158,0.000000000000\n1.322219294734,0.000000000000\n"
              "1.491361693834,0.000000000000\n1.612783856720,0.000000000000\n1.707570176098,0.000000000000\n"
              "1.785329835011,0.000000000000\n1.851258348719,0.000000000000\n1.908485018879,0.000000000000\n"
              "1.959041392321,0.000000000000\n2.004321373783,0.000000000000\n");
}

TEST_F(VandrelCount, JsonGivesCountsAndTheFitAtFullPrecision)
{
    const TRun run = RunCount({"--format=json", "--min=3", "--max=243", "--step=240", Sample("carpet.png")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "{\n"
              "  \"file\": \"" SAMPLES_DIR "/carpet.png\",\n"
              "  \"colour\": \"#000000\",\n"
              "  \"width\": 729,\n"
              "  \"height\": 729,\n"
              "  \"boxes\": [\n"
              "    {\"d\": 3, \"count\": 32768, \"log_d\": 0.47712125471966244, \"log_count\": 4.515449934959718},\n"
              "    {\"d\": 243, \"count\": 8, \"log_d\": 2.385606273598312, \"log_count\": 0.9030899869919435}\n"
              "  ],\n"
              "  \"slope\": -1.8927892607143724,\n"
              "  \"intercept\": 5.418539921951662,\n"
              "  \"r\": null,\n" // two points are too few for a correlation
              "  \"D\": 1.8927892607143724\n"
              "}\n");
}

TEST_F(VandrelCount, TheLeastCountOverGridPlacementsMeasuresTheCarpetExactly)
{
    const TRun run = RunCount({"--format", "json", "--grid", "min", "--sizes", "1,3,9,27,81,243", Sample("carpet.png")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out)).object();
    EXPECT_NEAR(result["D"].toDouble(), std::log(8.0) / std::log(3.0), 1e-9);
    const QJsonArray boxes = result["boxes"].toArray();
    ASSERT_EQ(boxes.size(), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(boxes[k]["d"].toInteger(), std::lround(std::pow(3.0, k)));
        EXPECT_EQ(boxes[k]["count"].toInteger(), std::lround(std::pow(8.0, 6 - k)));
    }
    EXPECT_EQ(result["grid"].toString(), "min");
    EXPECT_EQ(result["sizes"].toString(), "list");
    EXPECT_EQ(result["fit"].toObject(), (QJsonObject{{"from", 1}, {"to", 243}, {"n", 6}}));
    EXPECT_NEAR(result["se"].toDouble(), 0.0, 1e-9);
    EXPECT_EQ(result["warnings"].toArray(), QJsonArray());

    QFile picture(Sample("carpet.png"));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    const QJsonObject provenance = result["provenance"].toObject();
    EXPECT_EQ(provenance["sha256"].toString(),
              QCryptographicHash::hash(picture.readAll(), QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(provenance["version"].toString(), VANDREL_VERSION);
    EXPECT_EQ(provenance["shape_pixels"].toInteger(), 262144); // 8^6
    EXPECT_EQ(provenance["width"].toInteger(), 729);
}

TEST_F(VandrelCount, EveryGridReportsItsSpreadAndTheFitRangeWarnsOnStandardError)
{
    // A shape off the grid's corner, so that placements differ.
    QImage image(90, 70, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 7; y < 61; ++y)
        for (int x = 5 + y % 3; x < 80; x += 1 + y % 4)
            image.setPixel(x, y, qRgb(0, 0, 0));
    const QString path = FFolder.filePath("scatter.png");
    ASSERT_TRUE(image.save(path));

    const TRun topLeft = RunCount({"--format", "json", "--min", "2", "--max", "12", "--step", "5", path});
    const TRun all = RunCount(
        {"--format", "json", "--grid", "all", "--min", "2", "--max", "12", "--step", "5", "--fit", "2:7", path});
    ASSERT_EQ(all.Status, 0) << all.Err;
    const QJsonArray plainBoxes = QJsonDocument::fromJson(QByteArray::fromStdString(topLeft.Out))["boxes"].toArray();
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(all.Out)).object();
    const QJsonArray boxes = result["boxes"].toArray();
    ASSERT_EQ(boxes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonValue box = boxes[i];
        EXPECT_EQ(box["topleft"], plainBoxes[i]["count"]);
        EXPECT_EQ(box["count"], box["min"]);
        EXPECT_LE(box["min"].toDouble(), box["mean"].toDouble());
        EXPECT_LE(box["mean"].toDouble(), box["max"].toDouble());
        EXPECT_LE(box["min"].toInteger(), box["topleft"].toInteger());
        EXPECT_LE(box["topleft"].toInteger(), box["max"].toInteger());
    }
    EXPECT_LT(boxes[1]["min"].toInteger(), boxes[1]["max"].toInteger());
    EXPECT_EQ(result["fit"].toObject(), (QJsonObject{{"from", 2}, {"to", 7}, {"n", 2}}));
    EXPECT_EQ(result["local_slopes"].toArray().size(), 1);
    EXPECT_NEAR(result["local_slopes"][0].toDouble(), result["slope"].toDouble(), 1e-12);
    EXPECT_TRUE(result["se"].isNull()); // two sizes leave no degree of freedom

    // D of each statistic over the offsets, fitted to the same two sizes, 2 and 7.
    const QJsonObject dimensions = result["offset_dimensions"].toObject();
    double least = 10.0, most = -10.0;
    for (const char* key : {"min", "mean", "topleft"}) {
        const double d = -std::log10(boxes[1][key].toDouble() / boxes[0][key].toDouble()) / std::log10(3.5);
        EXPECT_NEAR(dimensions[key].toDouble(), d, 1e-12) << key;
        least = std::min(least, d);
        most = std::max(most, d);
    }
    EXPECT_NEAR(dimensions["min"].toDouble(), result["D"].toDouble(), 1e-12);
    EXPECT_NEAR(dimensions["spread"].toDouble(), most - least, 1e-12);

    // Each warning in the JSON is also on standard error, and none is fatal.
    const QJsonArray warnings = result["warnings"].toArray();
    ASSERT_GE(warnings.size(), 2); // under a decade, fewer than five sizes
    std::string expectedErr;
    for (const QJsonValue warning : warnings)
        expectedErr += "vandrel-count: " + path.toStdString() + ": warning: " + warning.toString().toStdString() + "\n";
    EXPECT_EQ(all.Err, expectedErr);
}

TEST_F(VandrelCount, OneFailedPictureDoesNotStopTheOthers)
{
    const QString square = BlackSquare();
    const TRun run = RunCount({"--format", "json", square, FFolder.filePath("gone.png"), Sample("pixel.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out.rfind("[\n  {\n    \"file\": ", 0), 0u) << run.Out;
    EXPECT_NE(run.Out.find("black.bmp"), std::string::npos);
    EXPECT_NE(run.Out.find("pixel.bmp"), std::string::npos);
    EXPECT_EQ(run.Err, "vandrel-count: " + FFolder.filePath("gone.png").toStdString() +
                           ": The picture cannot be read: File not found\n");

    // In parallel the output is the same, in the order given.
    const TRun parallel =
        RunCount({"--jobs", "3", "--format", "json", square, FFolder.filePath("gone.png"), Sample("pixel.bmp")});
    EXPECT_EQ(parallel.Status, 1);
    EXPECT_EQ(parallel.Out, run.Out);
}

TEST_F(VandrelCount, PicturesWithoutTheColourOrWithoutPixelsFail)
{
    const TRun absent = RunCount({"--colour", "red", Sample("pixel.bmp")});
    EXPECT_EQ(absent.Status, 1);
    EXPECT_EQ(absent.Out, "");
    EXPECT_EQ(absent.Err, "vandrel-count: " SAMPLES_DIR "/pixel.bmp: The colour #ff0000 occurs nowhere in the picture\n");

    QFile icon(FFolder.filePath("icon.ico"));
    ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
    icon.close();
    const TRun noPixels = RunCount({FFolder.filePath("icon.ico")});
    EXPECT_EQ(noPixels.Status, 1);
    EXPECT_NE(noPixels.Err.find(": Can only modify an image if it contains a bitmap\n"), std::string::npos);
}

TEST_F(VandrelCount, CommandLineMistakesExitWithStatusTwo)
{
    const TRun badValue = RunCount({"--step", "ten", Sample("pixel.bmp")});
    EXPECT_EQ(badValue.Status, 2);
    EXPECT_EQ(badValue.Out, "");
    EXPECT_EQ(badValue.Err,
              "vandrel-count: --step: 'ten' is not a whole number from 1 to 65535\n"
              "Try 'vandrel-count --help' for more information.\n");

    const TRun nothingToCount = RunCount({"--min", "200", Sample("pixel.bmp")});
    EXPECT_EQ(nothingToCount.Status, 2);
    EXPECT_EQ(nothingToCount.Err,
              "vandrel-count: the minimum box size (200) is above the maximum (100): there is no box size to count\n");

    const TRun badGrid = RunCount({"--grid", "diagonal", Sample("pixel.bmp")});
    EXPECT_EQ(badGrid.Status, 2);
    EXPECT_EQ(badGrid.Err, "vandrel-count: --grid: 'diagonal' is not one of topleft, min, all\n"
                           "Try 'vandrel-count --help' for more information.\n");

    const TRun emptyRange = RunCount({"--fit", "11:19", Sample("pixel.bmp")});
    EXPECT_EQ(emptyRange.Status, 2);
    EXPECT_EQ(emptyRange.Out, "");
    EXPECT_EQ(emptyRange.Err,
              "vandrel-count: --fit: the range 11:19 holds 0 of the box sizes counted; a line needs at least two\n");

    const TRun version = RunCount({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "vandrel-count " VANDREL_VERSION "\n");

    const TRun help = RunCount({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: vandrel-count [OPTION]... PICTURE|FOLDER|-...\n", 0), 0u);
}

TEST_F(VandrelCount, ADamagedPictureIsAnErrorAndTheOthersAreStillCounted)
{
    QFile whole(BlackSquare());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(FFolder.filePath("cut.bmp"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.readAll().chopped(1000));
    cut.close();

    const TRun run = RunCount({"--format", "csv", "--jobs", "2", cut.fileName(), whole.fileName()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "vandrel-count: " + cut.fileName().toStdString() +
                           ": The picture is damaged or incomplete: cut.bmp (its pixel data ends after 96 of 100 rows)\n");
    EXPECT_EQ(run.Out.rfind("File: ,black.bmp\n", 0), 0u) << run.Out;
}

TEST_F(VandrelCount, APictureOverTheMemoryLimitIsRefusedWithItsSizeAndNeed)
{
    // A JPEG-coded TIFF is decoded whole, by Qt, at 32 bits a pixel.
    const QString tiff = FFolder.filePath("black.tif");
    TIFF* coded = TIFFOpen(QFile::encodeName(tiff).constData(), "w");
    ASSERT_NE(coded, nullptr);
    TIFFSetField(coded, TIFFTAG_IMAGEWIDTH, 100);
    TIFFSetField(coded, TIFFTAG_IMAGELENGTH, 100);
    TIFFSetField(coded, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(coded, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(coded, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(coded, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(coded, TIFFTAG_ROWSPERSTRIP, 16);
    const std::vector<unsigned char> black(300, 0);
    for (uint32_t y = 0; y < 100; ++y)
        TIFFWriteScanline(coded, const_cast<unsigned char*>(black.data()), y, 0);
    TIFFClose(coded);
    const TRun run = RunCount({"--memory-limit", "32K", tiff});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(": The picture is 100 \u00d7 100 pixels and needs 41.4 KiB of memory, more than the 32.0 KiB allowed"),
              std::string::npos)
        << run.Err;

    // A JPEG a few rows at a time, with libjpeg's rows of every component beside them.
    const QString jpeg = FFolder.filePath("black.jpg");
    ASSERT_TRUE(QImage(BlackSquare()).save(jpeg));
    const TRun rows = RunCount({"--memory-limit", "32K", jpeg});
    EXPECT_EQ(rows.Status, 1);
    EXPECT_NE(rows.Err.find(": The picture is 100 \u00d7 100 pixels and needs 91.3 KiB of memory, more than the 32.0 KiB allowed"),
              std::string::npos)
        << rows.Err;

    // A BMP is decoded a few rows at a time into its mask: what it needs hardly grows
    // with its size.
    const TRun streamed = RunCount({"--memory-limit", "32K", BlackSquare()});
    EXPECT_EQ(streamed.Status, 1);
    EXPECT_NE(streamed.Err.find(": The picture is 100 \u00d7 100 pixels and needs 69.5 KiB of memory, more than the 32.0 KiB allowed"),
              std::string::npos)
        << streamed.Err;
    QImage large(2000, 2000, QImage::Format_RGB32);
    large.fill(Qt::black);
    const QString largeBmp = FFolder.filePath("large.bmp");
    ASSERT_TRUE(large.save(largeBmp));
    EXPECT_EQ(RunCount({"--memory-limit", "2M", largeBmp}).Status, 0); // 15.3 MiB as a whole picture
}

TEST_F(VandrelCount, ANameThatIsNotUtf8IsOpenedByItsBytes)
{
    const QByteArray name = QFile::encodeName(FFolder.path()) + "/\xff\xfe.bmp";
    QFile black(BlackSquare());
    ASSERT_TRUE(black.open(QIODevice::ReadOnly));
    const QByteArray bytes = black.readAll();
    FILE* file = std::fopen(name.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file);
    std::fclose(file);
    // QProcess passes arguments as text; a shell passes the bytes as they are.
    QProcess process;
    process.setWorkingDirectory(FFolder.path());
    process.start("/bin/sh", {"-c", "exec \"$0\" --format json \"$(printf '\\377\\376.bmp')\"", VANDREL_COUNT});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_NE(process.readAllStandardOutput().indexOf("\"width\": 100,"), -1);
    std::remove(name.constData()); // Qt cannot name it to remove it with the folder
}

TEST_F(VandrelCount, ResultsThatCannotBeWrittenAreAFailure)
{
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(VANDREL_COUNT, {BlackSquare()});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError().toStdString(),
              "vandrel-count: the results could not be written: No space left on device\n");
}

}  // namespace
