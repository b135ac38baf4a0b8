#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QFocusEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "app/window/about_box.h"
#include "app/window/graph_setup.h"
#include "graph/persist/form_description.h"
#include "graph/persist/graph_stream.h"
#include "graph/persist/memory_stream.h"
#include "tests/app/picture/metafile_samples.h"
#include "tests/app/spreadsheet/xlsx_reader.h"
#include "tests/app/window/scripted_dialogs.h"

// Readable failures for Qt's strings.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlack = 0xFF000000;
constexpr TColor kRedColour = 0x0000FF;
const char* const kNotABitmap = "Can only modify an image if it contains a bitmap";

class MainWindow : public testing::Test {
protected:
    MainWindow() : FAbout(FDialogs), FForm(FDialogs, FAbout)
    {
        TMetafileConverter converter;
        converter.SetProgram(VANDREL_METAFILE);
        FForm.Image1->SetMetafileConverter(converter);
    }

    QString WritePicture(const QString& name, QSize size, QRgb colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = FFolder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QString WriteBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = FFolder.filePath(name);
        WriteFile(path, bytes);
        return path;
    }

    void Open(const QString& path)
    {
        FDialogs.OpenAnswers.push_back(path);
        FForm.BitBtn1->click();
    }

    // Opens a picture and analyses it for the colour, with the sizes given.
    void Analyse(const QString& path, TColor colour, int minimum = 10, int maximum = 100, int increment = 10)
    {
        Open(path);
        FForm.SpinEdit1->SetValue(minimum);
        FForm.SpinEdit2->SetValue(maximum);
        FForm.SpinEdit3->SetValue(increment);
        FDialogs.ColourAnswers.push_back(colour);
        FForm.BitBtn3->click();
    }

    QRgb Pixel(int x, int y) { return FForm.Image1->Picture().Bitmap().pixel(x, y); }

    QStringList Column(int column)
    {
        QStringList texts;
        for (int row = 0; row < FForm.StringGrid1->RowCount(); ++row)
            texts << FForm.StringGrid1->Cell(column, row);
        return texts;
    }

    QTemporaryDir FFolder;
    TScriptedDialogs FDialogs;
    TAboutBox FAbout;
    TForm1 FForm;
};

TEST_F(MainWindow, StartsWithOnlyOpeningPossible)
{
    EXPECT_EQ(FForm.windowTitle(), "Vandrel");
    EXPECT_TRUE(FForm.BitBtn1->isEnabled());
    EXPECT_FALSE(FForm.BitBtn3->isEnabled());
    EXPECT_FALSE(FForm.BitBtn4->isEnabled());
    EXPECT_FALSE(FForm.SpinEdit1->isEnabled());
    EXPECT_FALSE(FForm.Zemplot1->isHidden());
    EXPECT_EQ(FForm.Zemplot1->Appearance().GraphTitle(), "Fractal Graph");
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 0);
    EXPECT_EQ(FForm.StringGrid1->RowCount(), 21);
}

TEST_F(MainWindow, OpeningCancelledChangesNothingAndOpeningNamesTheWindow)
{
    FForm.BitBtn1->click();
    EXPECT_EQ(FForm.windowTitle(), "Vandrel");
    EXPECT_FALSE(FForm.BitBtn3->isEnabled());
    EXPECT_TRUE(FForm.PictureFile().isEmpty());
    EXPECT_TRUE(FDialogs.OpenFilter.startsWith("All pictures (*.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff *.ico *.emf *.wmf)|"));
    EXPECT_EQ(FDialogs.OpenFilter.count('|'), 9) << "five entries of name and patterns";

    const QString path = WritePicture("leaf.bmp", {30, 20}, kWhite);
    Open(path);
    EXPECT_EQ(FForm.windowTitle(), "Vandrel -- leaf.bmp");
    EXPECT_EQ(FForm.PictureFile(), path);
    EXPECT_TRUE(FForm.Zemplot1->isHidden());
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_EQ(FForm.Image1->Picture().Size(), QSize(30, 20));
    for (QWidget* control : {static_cast<QWidget*>(FForm.SpinEdit1), static_cast<QWidget*>(FForm.SpinEdit2),
                             static_cast<QWidget*>(FForm.SpinEdit3), static_cast<QWidget*>(FForm.BitBtn3)})
        EXPECT_TRUE(control->isEnabled());
    EXPECT_FALSE(FForm.Image1->Surface().cursor().pixmap().isNull()) << "the picture's own cursor";
}

TEST_F(MainWindow, AFailedOpeningKeepsTheControlsAndTheCaption)
{
    Open(FFolder.filePath("gone.bmp"));
    ASSERT_EQ(FDialogs.Errors.size(), 1);
    EXPECT_TRUE(FDialogs.Errors[0].startsWith("The picture cannot be read")) << FDialogs.Errors[0].toStdString();
    EXPECT_EQ(FForm.windowTitle(), "Vandrel");
    EXPECT_FALSE(FForm.BitBtn3->isEnabled());
    EXPECT_TRUE(FForm.Zemplot1->isHidden());
}

TEST_F(MainWindow, AMetafileTheConverterRefusesShowsTheErrorAndThePictureBeforeStays)
{
    Open(WritePicture("leaf.bmp", {30, 20}, kRed));
    Open(WriteBytes("greedy.wmf", GreedyMetafile()));
    ASSERT_EQ(FDialogs.Errors.size(), 1);
    EXPECT_EQ(FDialogs.Errors[0], "The picture cannot be read: not enough memory for the metafile");
    EXPECT_EQ(FForm.windowTitle(), "Vandrel -- leaf.bmp");
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_EQ(FForm.Image1->Picture().Size(), QSize(30, 20));
    EXPECT_EQ(Pixel(29, 19), kRed);
    EXPECT_TRUE(FForm.BitBtn3->isEnabled());
}

TEST_F(MainWindow, GridUpDrawsLinesEveryNPixelsIncludingTheEdges)
{
    Open(WritePicture("grid.bmp", {100, 50}, kWhite));
    FForm.GridUp(10);
    // Crossings are drawn twice in not-xor and come back white, so look between them.
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(Pixel(x, 5), x % 10 == 0 ? kRed : kWhite) << "x = " << x;
    for (int y = 0; y < 50; ++y)
        EXPECT_EQ(Pixel(5, y), y % 10 == 0 ? kRed : kWhite) << "y = " << y;
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_TRUE(FForm.Zemplot1->isHidden());

    // Each grid starts from the picture as it was read.
    FForm.GridUp(25);
    EXPECT_EQ(Pixel(10, 5), kWhite);
    EXPECT_EQ(Pixel(25, 5), kRed);

    for (const int nothing : {0, -3}) {
        FForm.GridUp(nothing);
        EXPECT_EQ(Pixel(0, 5), kWhite);
    }
    EXPECT_TRUE(FDialogs.Errors.isEmpty());
}

TEST_F(MainWindow, ATypedSizeReachesTheGridAsTypedAndIsBroughtIntoRangeOnLeaving)
{
    Open(WritePicture("grid.bmp", {100, 50}, kWhite));
    TSpinEdit& maximum = *FForm.SpinEdit2;
    maximum.selectAll();
    QTest::keyClicks(&maximum, "300");
    EXPECT_EQ(maximum.text(), "300");
    EXPECT_EQ(FForm.MaxBoxSize(), 300);
    EXPECT_EQ(Pixel(0, 5), kRed);
    EXPECT_EQ(Pixel(5, 0), kRed);
    EXPECT_EQ(Pixel(30, 5), kWhite) << "the grid of 3 and of 30 were replaced";

    QFocusEvent leaving(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&maximum, &leaving);
    EXPECT_EQ(maximum.text(), "256");
    EXPECT_EQ(maximum.Value(), 256);
    EXPECT_EQ(FForm.MaxBoxSize(), 256);

    // The arrows never leave the range either.
    maximum.stepBy(3);
    EXPECT_EQ(maximum.Value(), 256);
    FForm.SpinEdit1->SetValue(5);
    FForm.SpinEdit1->stepBy(-10);
    EXPECT_EQ(FForm.SpinEdit1->Value(), 1);
    EXPECT_EQ(FForm.MinBoxSize(), 1);
}

TEST_F(MainWindow, TheSelectionRectangleFollowsTheMouseAndStaysInThePenColour)
{
    Open(WritePicture("select.bmp", {80, 60}, kWhite));
    QWidget& surface = FForm.Image1->Surface();
    QTest::mousePress(&surface, Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(&surface, {30, 20});
    QTest::mouseMove(&surface, {50, 40});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {70, 50});

    // One rectangle, from the press to the last move; the band of the first move is gone.
    EXPECT_EQ(Pixel(10, 25), kBlack);
    EXPECT_EQ(Pixel(49, 25), kBlack);
    EXPECT_EQ(Pixel(30, 10), kBlack);
    EXPECT_EQ(Pixel(30, 39), kBlack);
    EXPECT_EQ(Pixel(29, 15), kWhite);
    EXPECT_EQ(Pixel(20, 19), kWhite);
    EXPECT_EQ(Pixel(69, 25), kWhite) << "the release position is not used";

    // A move with no button held draws nothing.
    const QImage before = FForm.Image1->Picture().Bitmap();
    FForm.Image1MouseMove(Qt::NoButton, 5, 5);
    EXPECT_EQ(FForm.Image1->Picture().Bitmap(), before);

    // Once a grid is drawn the pen is red.
    FForm.GridUp(100);
    FForm.Image1MouseDown(Qt::LeftButton, 10, 10);
    FForm.Image1MouseMove(Qt::LeftButton, 50, 40);
    FForm.Image1MouseUp(Qt::LeftButton, 50, 40);
    EXPECT_EQ(Pixel(10, 25), kRed);
    EXPECT_TRUE(FDialogs.Errors.isEmpty());
}

TEST_F(MainWindow, AnalysingAFilledSquareListsEveryBoxSizeAndFitsTheLine)
{
    const QString path = WritePicture("square.bmp", {100, 100}, kBlack);
    Analyse(path, clBlack);
    ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    EXPECT_EQ(FDialogs.Informed, QStringList{"Finished Counting"});

    ASSERT_EQ(FForm.StringGrid1->RowCount(), 15);
    const QStringList sizes = Column(0);
    const QStringList counts = Column(1);
    EXPECT_EQ(sizes[0], "log(d)");
    EXPECT_EQ(counts[0], "log(N(d))");
    EXPECT_EQ(sizes[1], "1.000000000000");
    EXPECT_EQ(counts[1], "2.000000000000") << "N(10) = 100";
    EXPECT_EQ(counts[3], "1.204119982656") << "N(30) = 16";
    EXPECT_EQ(counts[10], "0.000000000000") << "N(100) = 1: the boxes at 100 lie outside";
    for (int row = 11; row < 15; ++row)
        EXPECT_TRUE(sizes[row].isEmpty() && counts[row].isEmpty()) << "row " << row;

    TSeries& series = FForm.Zemplot1->Series(1);
    ASSERT_EQ(series.Count(), 10);
    EXPECT_DOUBLE_EQ(series.Points().front().X, 1.0);
    EXPECT_DOUBLE_EQ(series.Points().front().Y, 2.0);
    EXPECT_EQ(series.RegressionLineStyle(), psDashDot);
    const TCompStats stats = series.GetCompStats();
    EXPECT_LT(stats.Slope, -1.5);
    EXPECT_EQ(FForm.StaticText1->text(), QString("Slope: %1").arg(stats.Slope, 0, 'f', 4));
    EXPECT_EQ(FForm.StaticText2->text(), QString("Intercept: %1").arg(stats.Intercept, 0, 'f', 4));
    EXPECT_EQ(FForm.StaticText7->text(), QString("Correlation coefficient (r): %1").arg(stats.R, 0, 'f', 4));
    EXPECT_EQ(FForm.StaticText3->text(), QString("D: %1").arg(-stats.Slope, 0, 'f', 2));

    const TZemplot& graph = *FForm.Zemplot1;
    EXPECT_EQ(graph.XAxis().Min(), 0.0);
    EXPECT_EQ(graph.XAxis().Max(), 3.0);
    EXPECT_EQ(graph.YAxis().Min(), -2.0);
    EXPECT_EQ(graph.YAxis().Max(), 3.0);
    EXPECT_FALSE(graph.XAxis().AutoSizing());
    EXPECT_EQ(graph.Appearance().GraphTitle(), "Fractal Graph for square.bmp");
    EXPECT_TRUE(FForm.Image1->isHidden());
    EXPECT_FALSE(graph.isHidden());
    EXPECT_TRUE(FForm.BitBtn4->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, ACancelledColourCountsNothing)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    FDialogs.Informed.clear();
    FForm.BitBtn3->click(); // no colour given
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(Column(1).join(""), "log(N(d))");
    EXPECT_EQ(FForm.StaticText1->text(), "Slope: ");
    EXPECT_EQ(FForm.StaticText3->text(), "D: ");
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 10) << "the graph keeps the last results";
    EXPECT_FALSE(FForm.Zemplot1->isHidden());
    EXPECT_TRUE(FForm.BitBtn4->isEnabled());
}

TEST_F(MainWindow, AnAbsentColourStopsAtTheFirstSize)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), kRedColour);
    EXPECT_EQ(FDialogs.Errors, QStringList{"Floating point division by zero"});
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(FForm.StringGrid1->Cell(0, 1), "1.000000000000");
    EXPECT_EQ(FForm.StringGrid1->Cell(1, 1), "");
    EXPECT_EQ(FForm.StaticText1->text(), "Slope: ");
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 0);
    EXPECT_TRUE(FForm.Zemplot1->isHidden());
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass goes on an error too";
}

TEST_F(MainWindow, AMinimumAboveTheMaximumCountsNoSize)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack, 60, 20, 10);
    EXPECT_EQ(FDialogs.Informed, QStringList{"Finished Counting"});
    EXPECT_EQ(FForm.StringGrid1->RowCount(), 7);
    EXPECT_EQ(Column(0).join(""), "log(d)");
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 0);
    EXPECT_EQ(FForm.Zemplot1->XAxis().Min(), 99.0);
    EXPECT_EQ(FForm.Zemplot1->YAxis().Min(), 98.0);
    EXPECT_FALSE(FForm.Zemplot1->ScalesValid());
}

TEST_F(MainWindow, IconsAndMetafilesAreShownButNotDrawnOnOrCounted)
{
    const QString pictures[] = {WriteBytes("icon.ico", TinyIcon()), WriteBytes("shape.emf", TinyEnhancedMetafile()),
                                WriteBytes("shape.wmf", TinyMetafile())};
    for (const QString& path : pictures) {
        Open(path);
        EXPECT_TRUE(FForm.windowTitle().endsWith(QFileInfo(path).fileName()));
        FDialogs.Errors.clear();
        FDialogs.ColourAnswers.push_back(clBlack);
        FForm.BitBtn3->click();
        FForm.SpinEdit1->SetValue(FForm.SpinEdit1->Value() + 1);
        QTest::mousePress(&FForm.Image1->Surface(), Qt::LeftButton, {}, {1, 1});
        EXPECT_EQ(FDialogs.Errors, QStringList(3, kNotABitmap)) << path.toStdString();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(MainWindow, SaveTableWritesResultsHeaderAndEveryDataRow)
{
    const QString picture = WritePicture("square.bmp", {100, 100}, kBlack);
    // Sizes 10, 40, 70 and 100 fill the table to its last row.
    Analyse(picture, clBlack, 10, 100, 30);
    ASSERT_EQ(FForm.StringGrid1->RowCount(), 8);
    const TTextTable before = FForm.StringGrid1->Texts();
    const QString workbook = FFolder.filePath("results.xlsx");
    FDialogs.SaveAnswers.push_back(workbook);
    FForm.BitBtn4->click();
    ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    EXPECT_EQ(FDialogs.ProposedSavePath, picture + ".xlsx");
    EXPECT_EQ(FDialogs.SaveSuffix, "xlsx");
    EXPECT_EQ(FForm.StringGrid1->Texts(), before);

    const TWorkbookContents contents = ReadWorkbook(workbook);
    EXPECT_EQ(contents.SheetNames, QStringList{"My Sheet Name"});
    const auto text = [&](int row, int column) { return contents.Cells.at({row, column}).Text; };
    const auto number = [&](int row, int column) { return contents.Cells.at({row, column}).Number; };
    const TCompStats stats = FForm.Zemplot1->Series(1).GetCompStats();
    EXPECT_EQ(text(1, 1), "File: ");
    EXPECT_EQ(text(1, 2), "square.bmp");
    EXPECT_EQ(text(2, 1), "Slope: ");
    EXPECT_NEAR(number(2, 2), stats.Slope, 5e-5);
    EXPECT_EQ(text(3, 1), "Intercept: ");
    EXPECT_NEAR(number(3, 2), stats.Intercept, 5e-5);
    EXPECT_EQ(text(4, 1), "Correlation coefficient (r): ");
    EXPECT_NEAR(number(4, 2), stats.R, 5e-5);
    EXPECT_EQ(text(5, 1), "log(d)");
    EXPECT_EQ(text(5, 2), "log(N(d))");
    const double logSizes[] = {1.0, std::log10(40.0), std::log10(70.0), 2.0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(contents.Cells.at({6 + k, 1}).IsNumber);
        EXPECT_NEAR(number(6 + k, 1), logSizes[k], 1e-12) << "data row " << k + 1;
    }
    EXPECT_DOUBLE_EQ(number(9, 2), 0.0) << "N(100) = 1";
    EXPECT_EQ(contents.Cells.size(), 4u * 2 + 2 + 4 * 2);
}

TEST_F(MainWindow, SaveTableCancelledOrFailedLeavesTheTableAsItWas)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    const TTextTable before = FForm.StringGrid1->Texts();
    FForm.BitBtn4->click(); // cancelled
    EXPECT_EQ(FForm.StringGrid1->Texts(), before);
    EXPECT_TRUE(FDialogs.Errors.isEmpty());

    FDialogs.SaveAnswers.push_back(FFolder.filePath("missing/folder/results.xlsx"));
    FForm.BitBtn4->click();
    ASSERT_EQ(FDialogs.Errors.size(), 1);
    EXPECT_TRUE(FDialogs.Errors[0].startsWith("The table could not be saved as ")) << FDialogs.Errors[0].toStdString();
    EXPECT_EQ(FForm.StringGrid1->Texts(), before);
}

TEST_F(MainWindow, ClipboardCopyPutsTheGraphOnTheClipboard)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    FForm.BitBtn5->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->data(kZemplotClipboardFormat).contains("Fractal Graph for square.bmp"));
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(FDialogs.Errors.isEmpty());
}

TEST_F(MainWindow, TheAboutBoxIsShownModally)
{
    FForm.BitBtn6->click();
    EXPECT_EQ(FDialogs.ModalWindows, 1);
    FAbout.BitBtn1->click();
    ASSERT_EQ(FDialogs.Informed.size(), 1);
    EXPECT_TRUE(FDialogs.Informed[0].startsWith("Vandrel measures"));
}

}  // namespace

namespace {

using namespace std::string_literals;

TEST(MainWindowGraph, StoresItsOneSeriesInTheBlockAFormKeeps)
{
    TZemplot graph;
    SetInitialGraphSettings(graph);
    TMemoryStream counts;
    {
        TValueWriter writer(counts);
        WriteCountValue(writer, graph.CountSeries());
        WriteCountValue(writer, graph.CountMarks());
    }
    EXPECT_EQ(std::vector<uint8_t>(counts.Bytes().begin(), counts.Bytes().end()),
              (std::vector<uint8_t>{0x06, 0x01, 0x49, 0x02, 0x01, 0x06, 0x01, 0x49, 0x02, 0x00}));

    TMemoryStream block;
    graph.WriteSeriesBlock(block);
    ASSERT_EQ(block.Size(), 419);

    // In the form the block is the binary value of "SeriesInfo": 0A, then its length.
    TMemoryStream form;
    {
        TValueWriter writer(form);
        WriteGraphEntry(writer, graph);
    }
    const std::string entry(form.Bytes().begin(), form.Bytes().end());
    const std::string seriesInfo = std::string("\x0ASeriesInfo") + "\x0A\xA3\x01\x00\x00"s;
    const std::size_t at = entry.find(seriesInfo);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(entry.substr(at + seriesInfo.size(), 419),
              std::string(block.Bytes().begin(), block.Bytes().end()));
    EXPECT_NE(entry.find("\x0BSeriesCount\x06\x01I\x02\x01"s), std::string::npos);
    EXPECT_NE(entry.find("\x09MarkCount\x06\x01I\x02\x00"s), std::string::npos);
    EXPECT_EQ(entry.find("MarksInfo"), std::string::npos);
    const std::vector<uint8_t> points{0x06, 0x03, 0x20, 0x31, 0x49, 0x02, 0x00, 0x06, 0x03,
                                      0x20, 0x32, 0x49, 0x02, 0x02, 0x06, 0x01, 0x44};
    EXPECT_TRUE(std::equal(points.begin(), points.end(), block.Bytes().end() - 17));

    TZemplot copy;
    copy.SetSeriesCount(1);
    block.Seek(0);
    copy.ReadSeriesBlock(block);
    const TSeries& series = copy.Series(1);
    EXPECT_EQ(series.SeriesName(), "New Series 1");
    EXPECT_EQ(series.PointShape(), 2);
    EXPECT_EQ(series.PointSize(), 6);
    EXPECT_EQ(series.PointColor(), 32768u);
    EXPECT_EQ(series.BoundLineMode(), psDashDot);
    EXPECT_EQ(series.RegressionType(), 1);
    EXPECT_EQ(series.RegressionControlValue2(), 0.05);
    EXPECT_EQ(series.TextSeparators(), "\t");
    EXPECT_EQ(series.TextMarkers(), "'\"");
    EXPECT_EQ(series.XDataColumn(), "(col 0)");
    EXPECT_EQ(series.FileHasHeaders(), 1);
    EXPECT_EQ(series.ShowInLegend(), 0);
    EXPECT_EQ(&series.Axis(), &copy.YAxis());
}

}  // namespace
