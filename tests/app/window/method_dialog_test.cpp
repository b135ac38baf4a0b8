#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/fractal/mask_image.h"
#include "app/fractal/reference_shapes.h"
#include "app/fractal/self_similar_shapes.h"
#include "app/picture/foreground_mask.h"
#include "app/window/about_box.h"
#include "app/window/main_window.h"
#include "app/window/method_dialog.h"
#include "tests/app/window/scripted_dialogs.h"

namespace {

const double kCarpetDimension = std::log(8.0) / std::log(3.0);

// Settings emptied before the window reads them and after the test, so no test
// sees another's choices.
struct TFreshSettings {
    TFreshSettings() { QSettings().clear(); }
    ~TFreshSettings() { QSettings().clear(); }
};

class WindowMethod : public testing::Test {
protected:
    WindowMethod() : FAbout(FDialogs), FForm(FDialogs, FAbout) {}

    // The carpet `side` pixels wide with a blank margin of random width on each side.
    QString WriteCarpet(const char* name, int side, const char* format, int quality = -1)
    {
        std::uniform_int_distribution<int> margin(1, 40);
        const QImage image = MaskImage(WithMargin(SierpinskiCarpet(side), margin(FRandom), margin(FRandom)));
        const QString path = FFolder.filePath(name);
        EXPECT_TRUE(image.save(path, format, quality));
        return path;
    }

    void Open(const QString& path)
    {
        FDialogs.OpenAnswers.push_back(path);
        FForm.BitBtn1->click();
    }

    void OpenMethod()
    {
        FForm.MethodButton->click();
        ASSERT_TRUE(FForm.MethodDialog->isVisible());
    }

    void Analyse(int minimum, int maximum, int increment)
    {
        FForm.SpinEdit1->SetValue(minimum);
        FForm.SpinEdit2->SetValue(maximum);
        FForm.SpinEdit3->SetValue(increment);
        FForm.BitBtn3->click();
        EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    }

    // The recommended method with sizes 1, 3, ..., 243 from the spin edits: the carpet
    // repeats itself at a third of its size, and sizes in ratio 2 cut its cells
    // unevenly, leaving D further than 0.005 from its exact value.
    void RecommendedInThirds()
    {
        TMethodPanel& panel = *FForm.MethodDialog->MethodPanel;
        panel.RecommendedButton->click();
        EXPECT_EQ(panel.GridBox->currentIndex(), static_cast<int>(TGridMode::Min));
        EXPECT_EQ(panel.SizesBox->currentIndex(), static_cast<int>(TSizeSeries::Geometric));
        EXPECT_EQ(panel.RatioEdit->value(), 2.0);
        EXPECT_EQ(panel.FitBox->currentIndex(), static_cast<int>(TFitChoice::Auto));
        panel.RatioEdit->setValue(3.0);
    }

    double Dimension() const
    {
        const QString text = FForm.StaticText3->text();
        bool ok = false;
        const double d = text.mid(text.indexOf(' ') + 1).toDouble(&ok);
        EXPECT_TRUE(ok) << text.toStdString();
        return d;
    }

    // The shape's pixels the overlay shows.
    int OverlaidPixels() const
    {
        const QImage& overlay = FForm.Image1->Overlay();
        int count = 0;
        for (int y = 0; y < overlay.height(); ++y)
            for (int x = 0; x < overlay.width(); ++x)
                count += overlay.pixelIndex(x, y);
        return count;
    }

    // The table vandrel-count prints for sizes 1 to 31 in steps of 3, with `more` options.
    static QStringList CountRows(const QString& path, const QStringList& more)
    {
        QProcess count;
        count.start(VANDREL_COUNT, QStringList{"--min", "1", "--max", "31", "--step", "3", "--format", "csv", path} + more);
        EXPECT_TRUE(count.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(count.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return lines.mid(lines.indexOf("log(d),log(N(d))") + 1);
    }

    QStringList TableRows() const
    {
        QStringList rows;
        for (int row = 1; row < FForm.StringGrid1->RowCount() && !FForm.StringGrid1->Cell(0, row).isEmpty(); ++row)
            rows << FForm.StringGrid1->Cell(0, row) + "," + FForm.StringGrid1->Cell(1, row);
        return rows;
    }

    std::mt19937 FRandom{19};
    TFreshSettings FFresh;
    QTemporaryDir FFolder;
    TScriptedDialogs FDialogs;
    TAboutBox FAbout;
    TForm1 FForm;
};

TEST_F(WindowMethod, TheRecommendedMethodMeasuresTheCarpetAtAnyMarginWithinFiveThousandths)
{
    Open(WriteCarpet("carpet.png", 243, "PNG"));
    OpenMethod();
    RecommendedInThirds();
    FDialogs.ColourAnswers.push_back(clBlack);
    Analyse(1, 243, 10);
    EXPECT_NEAR(Dimension(), kCarpetDimension, 0.005);
    EXPECT_TRUE(FDialogs.ColourAnswers.empty()) << "the exact colour is asked as before";
}

TEST_F(WindowMethod, OtsusThresholdMeasuresAJpegCarpetAndTheOverlayFollowsTheRuleLive)
{
    const QString path = WriteCarpet("carpet.jpg", 243, "JPEG", 90);
    Open(path);
    OpenMethod();
    RecommendedInThirds();
    TForegroundPanel& foreground = *FForm.MethodDialog->ForegroundPanel;
    foreground.KindBox->setCurrentIndex(static_cast<int>(TForegroundKind::Threshold));
    ASSERT_TRUE(foreground.OtsuBox->isChecked());

    const QImage picture(path);
    const int dark = static_cast<int>(MaskOfForeground(picture, TForegroundRule::Otsu()).Mask.SetCount());
    EXPECT_EQ(OverlaidPixels(), dark);
    foreground.SideBox->setCurrentIndex(static_cast<int>(TLuminanceSide::Light));
    EXPECT_EQ(OverlaidPixels(), picture.width() * picture.height() - dark) << "the two sides split the picture";
    foreground.SideBox->setCurrentIndex(static_cast<int>(TLuminanceSide::Dark));

    // No colour is scripted: had the analysis asked for one, it would have been cancelled.
    Analyse(1, 243, 10);
    EXPECT_NEAR(Dimension(), kCarpetDimension, 0.02);
    FForm.MethodDialog->close();
    EXPECT_TRUE(FForm.Image1->Overlay().isNull()) << "the overlay goes with the dialog";
}

TEST_F(WindowMethod, PickFromPictureTakesTheClickedColourInsteadOfDrawing)
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 30; ++x)
            image.setPixel(x, y, qRgb(200, 30, 30) + (x == 10 ? 4 : 0));
    const QString path = FFolder.filePath("squares.png");
    ASSERT_TRUE(image.save(path));
    Open(path);
    OpenMethod();
    TForegroundPanel& foreground = *FForm.MethodDialog->ForegroundPanel;
    foreground.KindBox->setCurrentIndex(static_cast<int>(TForegroundKind::ColourWithin));
    foreground.ToleranceEdit->setValue(0);

    foreground.PickButton->click();
    QWidget& surface = FForm.Image1->Surface();
    QTest::mousePress(&surface, Qt::LeftButton, {}, {20, 10});
    QTest::mouseMove(&surface, {40, 30});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {40, 30});
    EXPECT_EQ(foreground.ColourButton->text(), "#c81e1e");
    EXPECT_EQ(FForm.Image1->Picture().Bitmap(), FForm.Image1->LoadedPicture().Bitmap()) << "no rectangle drawn";
    EXPECT_EQ(OverlaidPixels(), 19 * 20) << "all but the column of a nearby red";
    foreground.ToleranceEdit->setValue(4);
    EXPECT_EQ(OverlaidPixels(), 20 * 20);

    Analyse(1, 20, 19);
    EXPECT_EQ(FForm.StringGrid1->Cell(1, 1), "2.602059991328") << "log10 400";
    // The click after a pick draws again.
    QTest::mousePress(&surface, Qt::LeftButton, {}, {20, 10});
    QTest::mouseMove(&surface, {40, 30});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {40, 30});
    EXPECT_NE(FForm.Image1->Picture().Bitmap(), FForm.Image1->LoadedPicture().Bitmap());
    EXPECT_EQ(foreground.ColourButton->text(), "#c81e1e");
}

TEST_F(WindowMethod, InsideTheRectangleTheCountsAreThoseOfVandrelCountForThatRegion)
{
    const QString path = WriteCarpet("carpet.png", 81, "PNG");
    Open(path);
    const QSize size = FForm.Image1->LoadedPicture().Size();
    OpenMethod();
    FForm.MethodDialog->ForegroundPanel->InsideRectangleBox->setChecked(true);
    // Dragged past the picture's corner: the rectangle ends at the picture's edges.
    QWidget& surface = FForm.Image1->Surface();
    QTest::mousePress(&surface, Qt::LeftButton, {}, {17, 23});
    QTest::mouseMove(&surface, {size.width() + 30, size.height() + 30});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {size.width() + 30, size.height() + 30});
    FDialogs.ColourAnswers.push_back(clBlack);
    Analyse(1, 31, 3);

    const QString region = QString("%1,%2,%3,%4").arg(17).arg(23).arg(size.width() - 17).arg(size.height() - 23);
    const QStringList inside = CountRows(path, {"--region", region});
    ASSERT_EQ(inside.size(), 11);
    EXPECT_EQ(TableRows(), inside);
    EXPECT_NE(CountRows(path, {}), inside) << "the rectangle limits the count";
}

TEST_F(WindowMethod, APictureTooLargeToShowWholeIsPreviewedAndCountedEveryPixel)
{
    const QString path = WriteCarpet("carpet.png", 243, "PNG");
    const QSize size = QImage(path).size();
    FForm.Image1->SetMostShownPixels(uint64_t(size.width()) * uint64_t(size.height()) / 2);
    Open(path);
    const TLoadedPicture& picture = FForm.Image1->LoadedPicture();
    ASSERT_EQ(picture.FullSize(), size);
    const int scale = picture.Scale();
    ASSERT_GT(scale, 1);
    EXPECT_EQ(picture.Size(), QSize((size.width() + scale - 1) / scale, (size.height() + scale - 1) / scale));
    EXPECT_TRUE(FForm.windowTitle().endsWith(
        QString(" (%1 \u00d7 %2, preview reduced 1:%3)").arg(size.width()).arg(size.height()).arg(scale)))
        << FForm.windowTitle().toStdString();
    // A grid line of the picture falls in the preview's column of the pixel it passes.
    FForm.SpinEdit1->SetValue(10 * scale);
    const QImage& shown = FForm.Image1->Picture().Bitmap();
    EXPECT_NE(shown.pixel(10, 1), picture.Bitmap().pixel(10, 1));
    EXPECT_EQ(shown.pixel(11, 1), picture.Bitmap().pixel(11, 1));

    FDialogs.ColourAnswers.push_back(clBlack);
    Analyse(1, 31, 3);
    EXPECT_EQ(TableRows(), CountRows(path, {}));

    // The rectangle drawn on the preview holds the blocks of the picture it covers.
    OpenMethod();
    FForm.MethodDialog->ForegroundPanel->InsideRectangleBox->setChecked(true);
    QWidget& surface = FForm.Image1->Surface();
    QTest::mousePress(&surface, Qt::LeftButton, {}, {6, 8});
    QTest::mouseMove(&surface, {picture.Size().width() + 5, 40});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {picture.Size().width() + 5, 40});
    FDialogs.ColourAnswers.push_back(clBlack);
    Analyse(1, 31, 3);
    const QString region = QString("%1,%2,%3,%4").arg(6 * scale).arg(8 * scale).arg(size.width() - 6 * scale).arg(32 * scale);
    EXPECT_EQ(TableRows(), CountRows(path, {"--region", region}));

    // The file is read again to count: a file changed since is refused, not counted.
    WriteCarpet("carpet.png", 81, "PNG");
    const QStringList before = TableRows();
    FDialogs.ColourAnswers.push_back(clBlack);
    FForm.BitBtn3->click();
    EXPECT_EQ(FDialogs.Errors, QStringList("The picture has changed since it was opened: carpet.png"));
    EXPECT_EQ(TableRows(), before);
}

TEST_F(WindowMethod, WhatCannotBeCountedIsRefusedAndTheLastResultsStay)
{
    Open(WriteCarpet("carpet.png", 27, "PNG"));
    FDialogs.ColourAnswers.push_back(clBlack);
    Analyse(1, 9, 2);
    const QStringList before = TableRows();
    const QString dimension = FForm.StaticText3->text();
    OpenMethod();
    TMethodPanel& method = *FForm.MethodDialog->MethodPanel;
    TForegroundPanel& foreground = *FForm.MethodDialog->ForegroundPanel;
    const auto refused = [&](const char* start) {
        FDialogs.Errors.clear();
        FDialogs.ColourAnswers.push_back(clBlack);
        FForm.BitBtn3->click();
        EXPECT_EQ(FDialogs.Errors.size(), 1);
        EXPECT_TRUE(FDialogs.Errors.value(0).startsWith(start)) << FDialogs.Errors.value(0).toStdString();
        EXPECT_EQ(TableRows(), before);
        EXPECT_EQ(FForm.StaticText3->text(), dimension);
    };
    foreground.InsideRectangleBox->setChecked(true);
    refused("Draw the rectangle");
    // A click draws no rectangle.
    QTest::mouseClick(&FForm.Image1->Surface(), Qt::LeftButton, {}, {5, 5});
    refused("Draw the rectangle");
    foreground.InsideRectangleBox->setChecked(false);

    method.FitBox->setCurrentIndex(static_cast<int>(TFitChoice::Range));
    method.FitFromEdit->setValue(4);
    method.FitToEdit->setValue(4);
    refused("The fit needs at least two box sizes; the sizes from 4 to 4 hold 0");
    method.FitBox->setCurrentIndex(static_cast<int>(TFitChoice::All));
    method.SizesBox->setCurrentIndex(static_cast<int>(TSizeSeries::List));
    method.SizeListEdit->setText("1,3,x");
    emit method.SizeListEdit->editingFinished();
    refused("Not a box size");
}

TEST_F(WindowMethod, TheChoicesAndTheColourAreRememberedWhenTheWindowIsMadeAgain)
{
    OpenMethod();
    TMethodPanel& method = *FForm.MethodDialog->MethodPanel;
    TForegroundPanel& foreground = *FForm.MethodDialog->ForegroundPanel;
    const TMethodChoice defaults = FForm.MethodDialog->Choice();
    EXPECT_EQ(defaults, TMethodChoice()) << "the window's own method without settings";

    method.GridBox->setCurrentIndex(static_cast<int>(TGridMode::Min));
    method.SizesBox->setCurrentIndex(static_cast<int>(TSizeSeries::List));
    method.SizeListEdit->clear();
    QTest::keyClicks(method.SizeListEdit, "2,4,8,16");
    QTest::keyClick(method.SizeListEdit, Qt::Key_Return);
    method.FitBox->setCurrentIndex(static_cast<int>(TFitChoice::Range));
    method.FitFromEdit->setValue(4);
    method.FitToEdit->setValue(16);
    FDialogs.ColourAnswers.push_back(0x123456);
    foreground.ColourButton->click();
    foreground.KindBox->setCurrentIndex(static_cast<int>(TForegroundKind::Threshold));
    foreground.OtsuBox->setChecked(false);
    foreground.LevelEdit->setValue(77);
    foreground.SideBox->setCurrentIndex(static_cast<int>(TLuminanceSide::Light));
    foreground.InsideRectangleBox->setChecked(true);
    const TMethodChoice chosen = FForm.MethodDialog->Choice();
    EXPECT_EQ(chosen.SizeList, "2,4,8,16");
    EXPECT_EQ(chosen.Level, 77);

    TForm1 again(FDialogs, FAbout);
    EXPECT_EQ(again.MethodDialog->Choice(), chosen);
    EXPECT_EQ(again.MethodDialog->ForegroundPanel->ColourButton->text(), "#563412");
}

}  // namespace
