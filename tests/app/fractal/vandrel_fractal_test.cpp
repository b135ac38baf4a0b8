// vandrel-fractal as a user runs it: the picture it writes and the command lines it
// refuses.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/fractal/reference_shapes.h"

namespace {

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

TRun RunFractal(const QStringList& arguments)
{
    QProcess process;
    process.start(VANDREL_FRACTAL, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

TEST(VandrelFractal, WritesTheShapeInBlackOnWhiteInsideItsMargin)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("vicsek.png");
    const TRun run = RunFractal({"vicsek", "--size", "81", "--margin=4,9", path});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");

    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(81 + 8, 81 + 18));
    const TPixelMask expected = WithMargin(FindReferenceShape("vicsek")->Draw(81, 1), 4, 9);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), expected.Test(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                << x << ", " << y;
}

// The grey picture is the one-bit picture softened over 3 x 3 pixels, then the same
// noise every time.
TEST(VandrelFractal, NoiseWritesTheShapeSoftenedInGrey)
{
    QTemporaryDir folder;
    const QString soft = folder.filePath("soft.png"), noisy = folder.filePath("noisy.png"),
                  again = folder.filePath("again.png");
    ASSERT_EQ(RunFractal({"square", "--size", "9", "--margin", "5,5", "--noise", "0", soft}).Status, 0);
    const QImage image(soft);
    ASSERT_EQ(image.format(), QImage::Format_Grayscale8);
    const TPixelMask square = WithMargin(FindReferenceShape("square")->Draw(9, 1), 5, 5);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            int set = 0, inside = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(image.height() - 1, y + 1); ++ny)
                for (int nx = std::max(0, x - 1); nx <= std::min(image.width() - 1, x + 1); ++nx) {
                    set += square.Test(nx, ny);
                    ++inside;
                }
            ASSERT_EQ(qGray(image.pixel(x, y)), static_cast<int>(std::lround(205.0 - 155.0 * set / inside)))
                << x << ", " << y;
        }
    ASSERT_EQ(RunFractal({"square", "--size", "9", "--noise", "12.5", noisy}).Status, 0);
    ASSERT_EQ(RunFractal({"square", "--size", "9", "--noise", "12.5", again}).Status, 0);
    EXPECT_EQ(QImage(noisy), QImage(again));
    EXPECT_NE(QImage(noisy), QImage(soft).copy(5, 5, 9, 9));
}

TEST(VandrelFractal, BadCommandLinesExitWithStatusTwoAndSayWhy)
{
    QTemporaryDir folder;
    const QString out = folder.filePath("out.png");
    const std::vector<std::pair<QStringList, std::string>> refused = {
        {{}, "no shape given (one of carpet, triangle, koch, cantor, vicsek, square, line, circle)"},
        {{"sponge", out}, "'sponge' is not a shape (one of carpet, triangle, koch, cantor, vicsek, square, line, circle)"},
        {{"carpet"}, "no picture to write given"},
        {{"carpet", out, "extra.png"}, "one picture only: 'extra.png' is one too many"},
        {{"carpet", "--size", "100", out},
         "--size: the Sierpinski carpet is exact only on a side that is a power of 3 (such as 243, 729 or 2187)"},
        {{"triangle", "--size", "243", out},
         "--size: the Sierpinski triangle is exact only on a side that is a power of 2 (such as 256, 512 or 1024)"},
        {{"square", "--size", "0", out}, "--size: '0' is not a whole number from 1 to 16384"},
        {{"carpet", "--noise", "101", out}, "--noise: '101' is not a number of grey levels from 0 to 100"},
        {{"carpet", "--line", "3", out}, "--line: the Sierpinski carpet is not drawn with lines"},
        {{"circle", "--size", "10", "--line", "11", out},
         "--line: a line 11 pixels wide does not fit a circle outline of size 10"},
        {{"koch", "--margin", "3", out}, "--margin: '3' is not two whole numbers X,Y from 0 to 4096"},
        {{"koch", "--margin", "3,-1", out}, "--margin: '3,-1' is not two whole numbers X,Y from 0 to 4096"},
        {{"koch", "--colour", "red", out}, "unknown option '--colour'"},
        {{"koch", out, "--size"}, "option '--size' needs a value"},
    };
    for (const auto& [arguments, message] : refused) {
        const TRun run = RunFractal(arguments);
        EXPECT_EQ(run.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Err, "vandrel-fractal: " + message + "\nTry 'vandrel-fractal --help' for more information.\n");
        EXPECT_EQ(run.Out, "");
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(VandrelFractal, APictureThatCannotBeWrittenFailsWithStatusOne)
{
    QTemporaryDir folder;
    const TRun run = RunFractal({"square", "--size", "9", folder.filePath("missing/square.png")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("missing/square.png could not be written"), std::string::npos) << run.Err;
}

}  // namespace
