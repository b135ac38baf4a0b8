#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include "graph/control/qt_canvas.h"
#include "graph/core/error.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

QImage WhiteImage(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(Qt::white);
    return image;
}

int InkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.valid(x, y) && image.pixel(x, y) != kWhite;
    return ink;
}

// Row y from x = 0 as '#' for black, 'r' for red and '.' for anything else.
std::string RowText(const QImage& image, int y, int length)
{
    std::string row;
    for (int x = 0; x < length; ++x)
        row += image.pixel(x, y) == kBlack ? '#' : image.pixel(x, y) == kRed ? 'r' : '.';
    return row;
}

TEST(QtCanvas, LinesKeepTheirStartAndLeaveOutTheirEndInEveryDirection)
{
    const TPoint start{50, 50};
    for (const TPoint end : {TPoint{90, 50}, TPoint{10, 50}, TPoint{50, 90}, TPoint{50, 11}, TPoint{90, 90},
                             TPoint{13, 83}, TPoint{77, 31}, TPoint{23, 43}, TPoint{41, 7}, TPoint{59, 93}}) {
        QImage image = WhiteImage(100, 100);
        TQtCanvas canvas(image);
        canvas.MoveTo(start.X, start.Y);
        canvas.LineTo(end.X, end.Y);
        canvas.End();
        SCOPED_TRACE(testing::Message() << "to " << end.X << "," << end.Y);
        EXPECT_EQ(image.pixel(start.X, start.Y), kBlack);
        EXPECT_EQ(image.pixel(end.X, end.Y), kWhite);
        EXPECT_EQ(InkIn(image, image.rect()), std::max(std::abs(end.X - start.X), std::abs(end.Y - start.Y)));
    }
    QImage image = WhiteImage(200, 200);
    TQtCanvas canvas(image);
    canvas.MoveTo(40, 160);
    canvas.LineTo(185, 160);
    canvas.LineTo(185, 160); // no length, nothing drawn
    canvas.End();
    EXPECT_EQ(InkIn(image, {40, 160, 145, 1}), 145);
    EXPECT_EQ(InkIn(image, image.rect()), 145);
}

TEST(QtCanvas, PolylineDrawsEachVertexOnceAndLeavesOutItsLastPoint)
{
    QImage image = WhiteImage(20, 20);
    TQtCanvas canvas(image);
    canvas.SetPenMode(pmXor); // a pixel drawn twice would turn white again
    canvas.SetPenColor(clWhite);
    const TPoint points[] = {{2, 2}, {10, 2}, {10, 8}, {2, 8}};
    canvas.Polyline(points);
    canvas.End();
    EXPECT_EQ(image.pixel(10, 2), kBlack);
    EXPECT_EQ(image.pixel(10, 8), kBlack);
    EXPECT_EQ(image.pixel(2, 8), kWhite);
    EXPECT_EQ(InkIn(image, image.rect()), 8 + 6 + 8);
}

TEST(QtCanvas, ShapesCoverX1ToX2MinusOneOutlinedWithThePenAndFilledWithASolidBrush)
{
    QImage image = WhiteImage(40, 20);
    TQtCanvas canvas(image);
    canvas.SetBrushColor(clRed);
    canvas.Rectangle(0, 0, 10, 10);
    canvas.Ellipse(12, 0, 22, 10);
    const TPoint triangle[] = {{24, 2}, {34, 2}, {24, 12}};
    canvas.Polygon(triangle);
    canvas.SetBrushStyle(bsClear);
    canvas.Rectangle(12, 12, 20, 20);
    canvas.SetPenStyle(psClear);
    canvas.SetBrushStyle(bsSolid);
    canvas.Rectangle(0, 12, 10, 15);
    canvas.End();
    EXPECT_EQ(RowText(image, 0, 11), "##########.");
    EXPECT_EQ(RowText(image, 5, 11), "#rrrrrrrr#.");
    EXPECT_EQ(RowText(image, 9, 11), "##########.");
    EXPECT_EQ(InkIn(image, {0, 10, 23, 2}), 0);
    EXPECT_EQ(image.pixel(17, 5), kRed);
    EXPECT_GT(InkIn(image, {12, 3, 1, 4}), 0); // the ellipse touches both sides of its box
    EXPECT_GT(InkIn(image, {21, 3, 1, 4}), 0);
    EXPECT_EQ(InkIn(image, {22, 0, 1, 10}), 0);
    EXPECT_EQ(image.pixel(34, 2), kBlack); // closed: the corners belong to it
    EXPECT_EQ(image.pixel(24, 12), kBlack);
    EXPECT_EQ(image.pixel(26, 4), kRed);
    EXPECT_EQ(RowText(image, 12, 11), "rrrrrrrrrr.");
    EXPECT_EQ(InkIn(image, {0, 15, 11, 1}), 0);
    EXPECT_EQ(InkIn(image, {12, 12, 9, 8}), 28); // the clear brush leaves the inside as it was
    EXPECT_EQ(InkIn(image, {13, 13, 6, 6}), 0);
}

TEST(QtCanvas, DashGapsTakeTheBackgroundUnderASolidBrushAndStayUntouchedUnderAClearOne)
{
    QImage image = WhiteImage(40, 10);
    TQtCanvas canvas(image);
    canvas.SetBrushColor(clRed); // the background becomes red too
    const std::pair<TPenStyle, std::string> patterns[] = {
        {psDash, "##################rrrrrr####"},
        {psDot, "###rrr###rrr###rrr###rrr###r"},
        {psDashDot, "#########rrrrrr###rrrrrr####"},
        {psDashDotDot, "#########rrr###rrr###rrr####"}};
    int y = 0;
    for (const auto& [style, row] : patterns) {
        canvas.SetPenStyle(style);
        canvas.MoveTo(0, y);
        canvas.LineTo(40, y);
        EXPECT_EQ(RowText(image, y++, 28), row) << kPenStyleNames[style];
    }
    canvas.SetPenStyle(psDash);
    const TPoint bent[] = {{0, 5}, {10, 5}, {40, 5}}; // the dashes run on across a vertex
    canvas.Polyline(bent);
    EXPECT_EQ(RowText(image, 5, 28), "##################rrrrrr####");
    canvas.SetBrushStyle(bsClear);
    canvas.MoveTo(0, 7);
    canvas.LineTo(40, 7);
    canvas.End();
    EXPECT_EQ(RowText(image, 7, 28), "##################......####");
}

TEST(QtCanvas, XorAndNotXorModesCombineTheRedOfTheLowByteWithWhatIsThere)
{
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image = WhiteImage(10, 10, format);
        TQtCanvas canvas(image);
        canvas.SetPenColor(0x0000FF); // red lives in the low byte
        canvas.SetPenMode(pmNotXor);
        canvas.MoveTo(0, 0);
        canvas.LineTo(10, 0);
        canvas.SetPenMode(pmXor);
        canvas.MoveTo(0, 1);
        canvas.LineTo(10, 1);
        for (int pass = 0; pass < 2; ++pass)
            canvas.Rectangle(0, 3, 10, 8);
        canvas.End();
        EXPECT_EQ(image.pixel(5, 0), kRed);
        EXPECT_EQ(image.pixel(5, 1), 0xFF00FFFF); // white xor red
        EXPECT_EQ(InkIn(image, {0, 3, 10, 5}), 0);
    }
}

TEST(QtCanvas, ClipRectReplacesTheClipAndEndsWithThePainterWhileTheStateStays)
{
    QImage image = WhiteImage(20, 20);
    TQtCanvas canvas(image);
    canvas.SetPenStyle(psClear);
    canvas.SetBrushColor(clRed);
    canvas.ClipRect(0, 0, 3, 3);
    canvas.ClipRect(10, 10, 5, 5); // any two corners
    canvas.Rectangle(0, 0, 20, 20);
    canvas.End();
    EXPECT_EQ(InkIn(image, image.rect()), 25);
    EXPECT_EQ(InkIn(image, {5, 5, 5, 5}), 25);

    QImage next = WhiteImage(20, 20);
    canvas.Begin(next);
    canvas.Rectangle(0, 0, 20, 20);
    canvas.End();
    EXPECT_EQ(next.pixel(0, 0), kRed);
    EXPECT_EQ(next.pixel(19, 19), kRed);
    EXPECT_THROW(canvas.Rectangle(0, 0, 1, 1), TVandrelError);
}

TEST(QtCanvas, TextLiesInItsCellInTheFontColourOverAnOpaqueOrUntouchedBackground)
{
    QImage image = WhiteImage(120, 60);
    TQtCanvas canvas(image);
    canvas.SetFontColor(clRed);
    canvas.SetBrushStyle(bsClear);
    const int width = canvas.TextWidth("HH");
    const int height = canvas.TextHeight("HH");
    canvas.TextOut(10, 10, "HH");
    EXPECT_EQ(InkIn(image, {10, 10, width, height}), InkIn(image, image.rect()));
    EXPECT_GT(InkIn(image, {10, 10, width, height}), 2 * height);
    for (int x = 10; x < 10 + width; ++x) { // antialiased, but red throughout
        const QRgb pixel = image.pixel(x, 10 + height / 2);
        EXPECT_TRUE(qRed(pixel) == 255 && qGreen(pixel) == qBlue(pixel)) << x;
    }

    canvas.SetBrushColor(clSilver);
    canvas.TextOut(60, 30, "HH");
    canvas.MoveTo(0, 59); // shapes take the pen again, not the text colour
    canvas.LineTo(5, 59);
    canvas.End();
    EXPECT_EQ(image.pixel(0, 59), kBlack);
    const QRgb silver = 0xFFC0C0C0;
    EXPECT_EQ(image.pixel(60, 30), silver);
    EXPECT_EQ(image.pixel(60 + width - 1, 30 + height - 1), silver);
    EXPECT_EQ(InkIn(image, {59, 29, width + 2, height + 2}), width * height);
}

TEST(QtCanvas, TextTurnedBy900DegreeTenthsRunsUpwardFromItsCorner)
{
    QImage image = WhiteImage(120, 120);
    TQtCanvas canvas(image);
    canvas.SetBrushStyle(bsClear);
    TFontDescription upward = canvas.FontDescription();
    upward.Height = -14;
    upward.Escapement = 900;
    upward.OutPrecision = kOutlinePrecision;
    canvas.SelectFont(canvas.CreateFont(upward));
    const int width = canvas.TextWidth("HHHH");
    const int height = canvas.TextHeight("HHHH");
    canvas.TextOut(40, 80, "HHHH");
    canvas.End();
    const QRect upwardCell(40, 80 - width, height, width);
    EXPECT_GT(InkIn(image, upwardCell), 4 * height);
    EXPECT_EQ(InkIn(image, upwardCell), InkIn(image, image.rect()));
}

TEST(QtCanvas, TextIsMeasuredWithoutAPainterAsItIsDrawn)
{
    TQtCanvas canvas;
    EXPECT_EQ(canvas.TextWidth("HHHH"), 4 * canvas.TextWidth("H"));
    const int width = canvas.TextWidth("HHHH");
    QImage image = WhiteImage(100, 30);
    canvas.Begin(image);
    canvas.TextOut(0, 0, "HHHH");
    canvas.End();
    EXPECT_GT(InkIn(image, {width - 3, 0, 3, 30}), 0); // the last stem ends the advance
    EXPECT_EQ(InkIn(image, {width, 0, 100 - width, 30}), 0);

    TFontAttributes cellSized;
    cellSized.Height = 20; // positive: the whole cell
    canvas.SetFont(cellSized);
    EXPECT_NEAR(canvas.TextHeight("H"), 20, 1);
    cellSized.Height = -20; // negative: the characters alone
    canvas.SetFont(cellSized);
    EXPECT_GT(canvas.TextHeight("H"), 20);
}

TEST(QtCanvas, DrawsIntoSvg)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize({200, 100});
    TQtCanvas canvas(generator);
    canvas.SetPenMode(pmXor); // no raster operations there: drawn as copies
    canvas.Rectangle(10, 10, 50, 50);
    canvas.TextOut(20, 60, "Dimension");
    canvas.End();
    EXPECT_TRUE(buffer.data().contains("<rect") || buffer.data().contains("<path"));
    EXPECT_TRUE(buffer.data().contains("Dimension"));
}

// The SVG generator ignores clipping, so the canvas cuts what it draws there itself.
TEST(QtCanvas, SvgDrawingStaysInsideTheClip)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize({100, 100});
    generator.setViewBox(QRect(0, 0, 100, 100));
    TQtCanvas canvas(generator);
    canvas.ClipRect(20, 20, 60, 60);
    canvas.MoveTo(0, 40);
    canvas.LineTo(100, 40);
    canvas.MoveTo(0, 90); // wholly outside
    canvas.LineTo(100, 90);
    canvas.SetBrushColor(clRed);
    canvas.Rectangle(50, 50, 90, 90);
    canvas.Ellipse(10, 10, 30, 30);
    const TPoint triangle[] = {{40, 0}, {55, 30}, {25, 30}};
    canvas.Polygon(triangle);
    canvas.SetPenWidth(3);
    const TPoint wide[] = {{0, 25}, {100, 25}};
    canvas.Polyline(wide);
    canvas.SetFont({.Height = -16});
    canvas.TextOut(45, 35, "Cut");
    canvas.End();

    QSvgRenderer renderer(buffer.data());
    ASSERT_TRUE(renderer.isValid());
    QImage image = WhiteImage(100, 100);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    // The renderer smooths edges, so one pixel round the clip may take some ink.
    EXPECT_EQ(InkIn(image, {0, 0, 100, 19}) + InkIn(image, {0, 62, 100, 38}), 0);
    EXPECT_EQ(InkIn(image, {0, 0, 19, 100}) + InkIn(image, {62, 0, 38, 100}), 0);
    EXPECT_GT(InkIn(image, {20, 40, 40, 1}), 30); // the line's inner part
    EXPECT_GT(InkIn(image, {50, 50, 10, 10}), 80); // the rectangle's corner
    EXPECT_GT(InkIn(image, {45, 35, 15, 15}), 5);  // part of the text
}

}  // namespace
