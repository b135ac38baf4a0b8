#include "tests/app/window/main_window_fixture.h"

namespace {

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
    EXPECT_FALSE(FForm.Zemplot1->isHidden());
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_EQ(FForm.Image1->Picture().Size(), QSize(30, 20));
    for (QWidget* control : {static_cast<QWidget*>(FForm.SpinEdit1), static_cast<QWidget*>(FForm.SpinEdit2),
                             static_cast<QWidget*>(FForm.SpinEdit3), static_cast<QWidget*>(FForm.BitBtn3)})
        EXPECT_TRUE(control->isEnabled());
    EXPECT_FALSE(FForm.Image1->Surface().cursor().pixmap().isNull()) << "the picture's own cursor";
}

TEST_F(MainWindow, AFailedOpeningKeepsThePictureItsNameCaptionAndResults)
{
    Open(FFolder.filePath("gone.bmp"));
    ASSERT_EQ(FDialogs.Errors.size(), 1);
    EXPECT_TRUE(FDialogs.Errors[0].startsWith("The picture cannot be read")) << FDialogs.Errors[0].toStdString();
    EXPECT_EQ(FForm.windowTitle(), "Vandrel");
    EXPECT_FALSE(FForm.BitBtn3->isEnabled());
    EXPECT_TRUE(FForm.PictureFile().isEmpty());

    const QString leaf = WritePicture("leaf.bmp", {100, 100}, kBlack);
    Analyse(leaf, clBlack);
    const TShownResults before = Shown();
    ASSERT_TRUE(before.Savable);
    QByteArray cut;
    {
        QFile file(leaf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        cut = file.read(200);
    }
    FDialogs.Errors.clear();
    for (const QString& path : {FFolder.filePath("gone.bmp"), WriteBytes("cut.bmp", cut),
                                WriteBytes("notes.txt", "no picture")}) {
        Open(path);
        EXPECT_EQ(FDialogs.Errors.size(), 1) << path.toStdString();
        FDialogs.Errors.clear();
        EXPECT_EQ(Shown(), before) << path.toStdString();
        EXPECT_EQ(FForm.Image1->Picture().Size(), QSize(100, 100));
    }
    const TWorkbookContents saved = Save("results.xlsx");
    EXPECT_EQ(saved.Cells.at({1, 2}).Text, "leaf.bmp");
    EXPECT_EQ(FDialogs.ProposedSavePath, leaf + ".xlsx");
}

TEST_F(MainWindow, OpeningAnotherPictureClearsTheResultsUntilItIsAnalysed)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    ASSERT_TRUE(FForm.BitBtn4->isEnabled());
    const QString other = WritePicture("other.bmp", {50, 50}, kBlack);
    Open(other);
    EXPECT_EQ(FForm.StaticText1->text(), "Slope: ");
    EXPECT_EQ(FForm.StaticText2->text(), "Intercept: ");
    EXPECT_EQ(FForm.StaticText7->text(), "Correlation coefficient (r): ");
    EXPECT_EQ(FForm.StaticText3->text(), "D: ");
    for (int row = 1; row < FForm.StringGrid1->RowCount(); ++row)
        EXPECT_TRUE(FForm.StringGrid1->Cell(0, row).isEmpty() && FForm.StringGrid1->Cell(1, row).isEmpty()) << row;
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 0);
    EXPECT_EQ(FForm.Zemplot1->Appearance().GraphTitle(), "Fractal Graph");
    EXPECT_FALSE(FForm.BitBtn4->isEnabled());
    FForm.BitBtn4Click();
    EXPECT_TRUE(FDialogs.ProposedSavePath.isEmpty()) << "nothing to save, so no dialog";

    Analyse(other, clBlack, 5, 45, 20);
    const TWorkbookContents saved = Save("other.xlsx");
    EXPECT_EQ(FDialogs.ProposedSavePath, other + ".xlsx");
    EXPECT_EQ(saved.Cells.at({1, 2}).Text, "other.bmp");
    EXPECT_EQ(saved.Sheets.at(1).at({1, 2}).Text, "other.bmp");
    EXPECT_EQ(FForm.Zemplot1->Appearance().GraphTitle(), "Fractal Graph for other.bmp");
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
    EXPECT_FALSE(FForm.Zemplot1->isHidden());

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
    EXPECT_FALSE(FForm.Image1->isHidden());
    EXPECT_FALSE(graph.isHidden());
    EXPECT_TRUE(FForm.BitBtn4->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, ACancelledColourLeavesTheLastResultsAsTheyWere)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    const TShownResults before = Shown();
    FDialogs.Informed.clear();
    FForm.BitBtn3->click(); // no colour given
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(Shown(), before);
    EXPECT_TRUE(FDialogs.Errors.isEmpty());
}

TEST_F(MainWindow, AnAbsentColourIsNamedBeforeCountingAndTheLastResultsStay)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    const TShownResults before = Shown();
    FDialogs.Informed.clear();
    FDialogs.ColourAnswers.push_back(kRedColour);
    FForm.BitBtn3->click();
    EXPECT_EQ(FDialogs.Errors, QStringList{"The colour #ff0000 occurs nowhere in the picture"});
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, AMinimumAboveTheMaximumIsRefusedBeforeCounting)
{
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack, 60, 20, 10);
    EXPECT_EQ(FDialogs.Errors,
              QStringList{"The minimum box size (60) is above the maximum (20): there is no box size to count"});
    EXPECT_EQ(FDialogs.ColourAnswers.size(), 1u) << "no colour is asked for";
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(FForm.StaticText3->text(), "D: ");
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 0);
    EXPECT_TRUE(FForm.Zemplot1->ScalesValid());
    EXPECT_EQ(FForm.Zemplot1->Appearance().GraphTitle(), "Fractal Graph");
    EXPECT_FALSE(FForm.BitBtn4->isEnabled());
}

TEST_F(MainWindow, AnRThatCannotBeComputedIsADashAndAnEmptyCell)
{
    // A real r first, so that a stale one would show.
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    ASSERT_NE(FForm.StaticText7->text(), "Correlation coefficient (r): ");
    QImage dot(64, 64, QImage::Format_RGB32);
    dot.fill(kWhite);
    dot.setPixel(3, 3, kBlack);
    const QString pixel = FFolder.filePath("pixel.bmp");
    ASSERT_TRUE(dot.save(pixel));
    struct TCase {
        QString Picture;
        int Minimum, Maximum, Increment;
    };
    // The same count at every size; two sizes only.
    for (const TCase& sizes : {TCase{pixel, 1, 41, 10}, TCase{FFolder.filePath("square.bmp"), 10, 20, 10}}) {
        Analyse(sizes.Picture, clBlack, sizes.Minimum, sizes.Maximum, sizes.Increment);
        ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
        EXPECT_EQ(FForm.StaticText7->text(), "Correlation coefficient (r): \u2013");
        const TWorkbookContents saved = Save("no_r.xlsx");
        EXPECT_EQ(saved.Cells.at({4, 1}).Text, "Correlation coefficient (r): ");
        EXPECT_FALSE(saved.Cells.contains({4, 2}));
        EXPECT_EQ(saved.Sheets.at(1).at({10, 1}).Text, "r");
        EXPECT_FALSE(saved.Sheets.at(1).contains({10, 2}));
        EXPECT_TRUE(saved.Sheets.at(1).at({8, 2}).IsNumber) << "the slope is still there";
    }
}

TEST_F(MainWindow, AFailedAnalysisLeavesNothingToSave)
{
    const QString square = WritePicture("square.bmp", {100, 100}, kBlack);
    Open(square);
    FDialogs.ColourAnswers.push_back(kRedColour);
    FForm.BitBtn3->click();
    ASSERT_EQ(FDialogs.Errors.size(), 1);
    EXPECT_FALSE(FForm.BitBtn4->isEnabled());
    FForm.BitBtn4Click();
    EXPECT_TRUE(FDialogs.ProposedSavePath.isEmpty()) << "no half table is offered for saving";
}

TEST_F(MainWindow, IconsAndMetafilesAreShownWithAnalysisOffAndSayWhy)
{
    const QString bitmap = WritePicture("square.bmp", {20, 20}, kBlack);
    const QString pictures[] = {WriteBytes("icon.ico", TinyIcon()), WriteBytes("shape.emf", TinyEnhancedMetafile()),
                                WriteBytes("shape.wmf", TinyMetafile())};
    for (const QString& path : pictures) {
        Open(path);
        EXPECT_TRUE(FForm.windowTitle().endsWith(QFileInfo(path).fileName()));
        for (QWidget* control : {static_cast<QWidget*>(FForm.SpinEdit1), static_cast<QWidget*>(FForm.SpinEdit2),
                                 static_cast<QWidget*>(FForm.SpinEdit3), static_cast<QWidget*>(FForm.BitBtn3)})
            EXPECT_FALSE(control->isEnabled()) << path.toStdString();
        EXPECT_TRUE(FForm.PictureNote->text().contains("not measured")) << FForm.PictureNote->text().toStdString();
        FDialogs.ColourAnswers.push_back(clBlack);
        FForm.BitBtn3->click();
        QTest::mousePress(&FForm.Image1->Surface(), Qt::LeftButton, {}, {1, 1});
        QTest::mouseMove(&FForm.Image1->Surface(), {3, 3});
        QTest::mouseRelease(&FForm.Image1->Surface(), Qt::LeftButton, {}, {3, 3});
        QTest::keyClicks(FForm.SpinEdit1, "42");
        EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
        EXPECT_TRUE(FDialogs.Informed.isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        FDialogs.ColourAnswers.clear();

        Open(bitmap);
        EXPECT_TRUE(FForm.BitBtn3->isEnabled());
        EXPECT_TRUE(FForm.SpinEdit2->isEnabled());
        EXPECT_TRUE(FForm.PictureNote->text().isEmpty());
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
    const QDateTime analysed = QDateTime::currentDateTime();
    FForm.BitBtn4->click();
    ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    EXPECT_EQ(FDialogs.ProposedSavePath, picture + ".xlsx");
    EXPECT_EQ(FDialogs.SaveSuffix, "xlsx");
    EXPECT_EQ(FForm.StringGrid1->Texts(), before);

    const TWorkbookContents contents = ReadWorkbook(workbook);
    EXPECT_EQ(contents.SheetNames, QStringList({"My Sheet Name", "Details"}));
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

    // The details: every value at full precision, read back from the second sheet.
    const TSheetCells& details = contents.Sheets.at(1);
    const auto detail = [&](int row, const char* caption) {
        EXPECT_EQ(details.at({row, 1}).Text, caption);
        return details.at({row, 2});
    };
    EXPECT_EQ(detail(1, "Picture").Text, "square.bmp");
    EXPECT_EQ(detail(2, "Width (pixels)").Number, 100);
    EXPECT_EQ(detail(3, "Height (pixels)").Number, 100);
    EXPECT_EQ(detail(4, "Colour").Text, "#000000");
    EXPECT_EQ(detail(5, "Minimum box size").Number, 10);
    EXPECT_EQ(detail(6, "Maximum box size").Number, 100);
    EXPECT_EQ(detail(7, "Box increment").Number, 30);
    EXPECT_NEAR(detail(8, "Slope").Number, stats.Slope, 1e-15);
    EXPECT_NEAR(detail(9, "Intercept").Number, stats.Intercept, 1e-15);
    EXPECT_NEAR(detail(10, "r").Number, stats.R, 1e-15);
    EXPECT_NEAR(detail(11, "D").Number, -stats.Slope, 1e-15);
    const QDateTime made = QDateTime::fromString(detail(12, "Analysed").Text, Qt::ISODate);
    EXPECT_LE(std::abs(made.secsTo(analysed)), 60) << detail(12, "Analysed").Text.toStdString();
    EXPECT_EQ(detail(13, "Vandrel version").Text, VANDREL_VERSION);
    EXPECT_EQ(details.at({15, 1}).Text, "d");
    EXPECT_EQ(details.at({15, 4}).Text, "log10 N(d)");
    // N(d) of a filled 100 by 100 square: (100 div d + 1)^2 boxes but those starting at 100.
    const int boxSizes[] = {10, 40, 70, 100};
    const double boxes[] = {100, 9, 4, 1};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(details.at({16 + k, 1}).Number, boxSizes[k]);
        EXPECT_EQ(details.at({16 + k, 2}).Number, boxes[k]);
        EXPECT_NEAR(details.at({16 + k, 3}).Number, std::log10(boxSizes[k]), 1e-15);
        EXPECT_NEAR(details.at({16 + k, 4}).Number, std::log10(boxes[k]), 1e-15);
    }
    EXPECT_EQ(details.size(), 13u * 2 + 4 + 4 * 4);
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

// The window shown at a set size, as a person sees it.
class MainWindowLayout : public MainWindow {
protected:
    void ShowAt(QSize size)
    {
        FForm.resize(size);
        FForm.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FForm));
        // The resize of a window shown reaches it through the window system.
        FForm.resize(size);
        ASSERT_TRUE(QTest::qWaitFor([&] { return FForm.size() == size.expandedTo(FForm.minimumSize()); }));
    }

    QRect PlaceInWindow(const QWidget& control) { return {control.mapTo(&FForm, QPoint(0, 0)), control.size()}; }

    // The graph has drawn itself at the size it has now.
    bool GraphDrawnAtItsSize()
    {
        return QTest::qWaitFor([&] { return FForm.Zemplot1->BackingImage().size() == FForm.Zemplot1->size(); });
    }

    // Every control: those at the left and the picture and the graph.
    QList<QWidget*> Controls()
    {
        return FForm.BitBtn1->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)
               << FForm.Image1 << FForm.Zemplot1;
    }
};

TEST_F(MainWindowLayout, ThePictureAndTheGraphShareWhatTheControlsLeaveAndFollowTheWindowsSize)
{
    ShowAt({1280, 1024});
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    for (const QSize size : {QSize(1280, 1024), QSize(900, 700), QSize(1600, 1000)}) {
        ShowAt(size);
        const QRect picture = PlaceInWindow(*FForm.Image1);
        const QRect graph = PlaceInWindow(*FForm.Zemplot1);
        EXPECT_TRUE(FForm.Image1->isVisible() && FForm.Zemplot1->isVisible());
        EXPECT_EQ(PlaceInWindow(*FForm.BitBtn3), QRect(2, 43, 85, 40)) << "the controls keep their places";
        EXPECT_EQ(PlaceInWindow(*FForm.StringGrid1).topLeft(), QPoint(13, 358));
        EXPECT_EQ(picture.left(), 225);
        EXPECT_LT(picture.right(), graph.left()) << "side by side";
        EXPECT_EQ(graph.right(), FForm.width() - 1);
        EXPECT_EQ(picture.height(), FForm.height());
        EXPECT_EQ(graph.height(), FForm.height());
        EXPECT_NEAR(picture.width(), graph.width(), 2) << "both halves grow alike";
        EXPECT_TRUE(GraphDrawnAtItsSize()) << size.width() << " x " << size.height();
    }
}

TEST_F(MainWindowLayout, AtItsSmallestSizeTheWindowCutsOffNoControlAndNoneOverlaps)
{
    ShowAt({1, 1});
    EXPECT_EQ(FForm.size(), FForm.minimumSize());
    EXPECT_GE(FForm.minimumHeight(), 574) << "the bottom of the Close button";
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack);
    const QList<QWidget*> controls = Controls();
    ASSERT_EQ(controls.size(), 23); // with the note on pictures that are not measured, the method's button, the fit's details and the recent pictures
    const auto name = [&](const QWidget* control) {
        const QRect place = PlaceInWindow(*control);
        return QString("%1 at %2, %3").arg(control->metaObject()->className()).arg(place.x()).arg(place.y()).toStdString();
    };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(controls[i]->isVisible()) << name(controls[i]);
        EXPECT_TRUE(FForm.rect().contains(PlaceInWindow(*controls[i]))) << name(controls[i]);
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(PlaceInWindow(*controls[i]).intersects(PlaceInWindow(*controls[j])))
                << name(controls[i]) << " and " << name(controls[j]);
    }
    // The results are read whole.
    for (const QLabel* label : {FForm.StaticText1, FForm.StaticText2, FForm.StaticText7, FForm.StaticText3})
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->text().toStdString();
    EXPECT_GE(FForm.Image1->width(), 100);
    EXPECT_GE(FForm.Zemplot1->width(), 200);
    EXPECT_TRUE(GraphDrawnAtItsSize());
}

TEST_F(MainWindowLayout, TheTableShowsWholeNumbersKeepsItsHeaderInViewAndCopiesTabSeparatedText)
{
    ShowAt({1280, 1024});
    Analyse(WritePicture("square.bmp", {100, 100}, kBlack), clBlack, 1, 256, 1);
    TStringGrid& table = *FForm.StringGrid1;
    ASSERT_EQ(table.Cell(1, 256), "0.000000000000") << "N(256) = 1";
    EXPECT_LE(table.columnWidth(0) + table.columnWidth(1), table.viewport()->width()) << "both columns in view";
    for (int row = 0; row < table.RowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_LE(table.fontMetrics().horizontalAdvance(table.Cell(column, row)), table.columnWidth(column))
                << "row " << row << ", column " << column;

    table.scrollToBottom();
    EXPECT_GT(table.rowAt(0), 200);
    EXPECT_TRUE(table.horizontalHeader()->isVisible());
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "log(d)");
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "log(N(d))");
    EXPECT_EQ(table.Cell(0, 0), "log(d)") << "row 0 stays the header row of the workbook";

    table.setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 1), true);
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.000000000000\t4.000000000000\n"
                                                    "0.301029995664\t3.397940008672\n")
        << "N(1) = 10000, N(2) = 2500";

    table.clearSelection();
    table.setRangeSelected(QTableWidgetSelectionRange(255, 1, 256, 1), true);
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.000000000000\n0.000000000000\n");
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
