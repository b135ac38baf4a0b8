#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "graph/control/zemplot.h"
#include "graph/stream/memory_stream.h"
#include "tests/support/error_message.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/pixel_count.h"

namespace {

constexpr QRgb kPointColour = 0xFF00C000;

// A graph with one series of green points, a title and axis titles.
void Fill(TZemplot& graph)
{
    graph.Appearance().SetGraphTitle("Exported graph");
    graph.XAxis().SetTitle("size");
    TSeries& series = graph.Series(1);
    series.SetPointColor(0x00C000);
    series.SetLineColor(0x00C000);
    for (int i = 0; i < 10; ++i)
        series.AddPoint(i, i * i);
}

QByteArray ContentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Svg(TZemplot& graph)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    graph.DrawToMetafile(generator);
    return svg;
}

}  // namespace

TEST(ZemplotExport, TheSvgParsesBackAtTheControlsSizeWithTheGraphsTexts)
{
    TZemplot graph;
    graph.resize(300, 240);
    Fill(graph);
    const QByteArray svg = Svg(graph);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 300, 240));
    EXPECT_TRUE(svg.contains("Exported graph"));
    EXPECT_TRUE(svg.contains(">size<"));
    EXPECT_EQ(graph.DrawWidth(), 300);
    EXPECT_EQ(&graph.DrawCanvas(), &graph.MeasureCanvas());
}

TEST(ZemplotExport, TheBitmapIsDrawnAtItsOwnSizeAndTheScreenStaysAsItWas)
{
    TZemplot graph;
    Fill(graph);
    const QImage screen = graph.BackingImage();
    QImage bitmap(320, 200, QImage::Format_RGB32);
    graph.DrawToBitmap(bitmap);
    EXPECT_EQ(bitmap.size(), QSize(320, 200));
    EXPECT_GT(CountPixels(bitmap, kPointColour), 20);
    EXPECT_EQ(graph.BackingImage(), screen);
    EXPECT_EQ(graph.DrawWidth(), 200);
    EXPECT_EQ(graph.DrawHeight(), 200);

    QImage empty;
    graph.DrawToBitmap(empty);
    EXPECT_TRUE(empty.isNull());
}

TEST(ZemplotExport, InvalidScalesExportTheErrorCaptionAndNoData)
{
    TZemplot graph;
    Fill(graph);
    graph.XAxis().SetMin(5);
    graph.XAxis().SetMax(1);
    QImage bitmap(200, 200, QImage::Format_RGB32);
    graph.DrawToBitmap(bitmap);
    EXPECT_EQ(CountPixels(bitmap, kPointColour), 0);
    const QByteArray svg = Svg(graph);
    EXPECT_TRUE(svg.contains(QByteArray::fromStdString(graph.Appearance().ErrorCaption())));
}

TEST(ZemplotExport, AFailedDrawingLeavesTheBitmapAndPutsTheCanvasesBack)
{
    TZemplot graph;
    Fill(graph);
    graph.SetOnPaintEnd([](TZemplot&, TCanvas&) { throw TVandrelError("handler failed"); });
    QImage bitmap(50, 40, QImage::Format_RGB32);
    bitmap.fill(Qt::blue);
    EXPECT_EQ(MessageOf([&] { graph.DrawToBitmap(bitmap); }), "handler failed");
    EXPECT_EQ(bitmap.pixel(10, 10), QColor(Qt::blue).rgb());
    EXPECT_EQ(&graph.DrawCanvas(), &graph.MeasureCanvas());
    EXPECT_EQ(graph.DrawWidth(), 200);
}

TEST(ZemplotExport, CopyToClipboardPutsTheStreamTheImageAndTheSvg)
{
    TZemplot graph;
    Fill(graph);
    int paintEnds = 0;
    graph.SetOnPaintEnd([&](TZemplot&, TCanvas&) { ++paintEnds; });
    graph.CopyToClipboard();
    EXPECT_EQ(paintEnds, 4) << "two drawings, each telling the handler twice";

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray stream = data->data(kZemplotClipboardFormat);
    EXPECT_TRUE(stream.startsWith("\x06\x09qvtk03.01"));
    EXPECT_FALSE(qvariant_cast<QImage>(data->imageData()).isNull());
    EXPECT_TRUE(QSvgRenderer(data->data("image/svg+xml")).isValid());

    TZemplot copy;
    TMemoryStream bytes(std::vector<uint8_t>(stream.begin(), stream.end()));
    copy.LoadGraphFromStream(bytes);
    EXPECT_EQ(copy.Series(1).Count(), 10);
    EXPECT_EQ(copy.Appearance().GraphTitle(), "Exported graph");
}

TEST(ZemplotExport, SaveGraphAsWritesTheKindItsExtensionNames)
{
    QTemporaryDir folder;
    TZemplot graph;
    Fill(graph);
    graph.SaveGraphAs(folder.filePath("graph.png"));
    EXPECT_EQ(QImage(folder.filePath("graph.png")).size(), QSize(200, 200));
    graph.SaveGraphAs(folder.filePath("graph.SVG"));
    EXPECT_TRUE(QSvgRenderer(folder.filePath("graph.SVG")).isValid());
    graph.SaveGraphAs(folder.filePath("graph.pdf"));
    QFile pdf(folder.filePath("graph.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

    EXPECT_EQ(MessageOf([&] { graph.SaveGraphAs(folder.filePath("graph.gif")); }), "Unknown graph file extension (.gif)");
    const QString unwritable = folder.filePath("missing/graph.png");
    EXPECT_EQ(MessageOf([&] { graph.SaveGraphAs(unwritable); }),
              "The graph cannot be saved as " + unwritable.toStdString() + " (No such file or directory)");
}

// A save that breaks off, as on a full disk, leaves the file that was there; one that
// succeeds replaces it. Neither leaves anything else in the folder.
TEST(ZemplotExport, SaveGraphAsReplacesAFileOnlyWithAWholeOne)
{
    QTemporaryDir folder;
    TZemplot graph;
    Fill(graph);
    const QByteArray before = "the user's own file";
    for (const char* name : {"graph.png", "graph.svg", "graph.pdf"}) {
        const QString path = folder.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        std::string message;
        {
            // Checked once the limit is gone, so that the test's own output can grow.
            TFileSizeLimit limit(before.size() + 10);
            ASSERT_TRUE(limit.Active());
            message = MessageOf([&] { graph.SaveGraphAs(path); });
        }
        EXPECT_EQ(message, "The graph cannot be saved as " + path.toStdString() + " (File too large)");
        EXPECT_EQ(ContentsOf(path), before) << name;
        graph.SaveGraphAs(path);
        EXPECT_GT(ContentsOf(path).size(), before.size() + 10) << name;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{name});
        QFile::remove(path);
    }
}
