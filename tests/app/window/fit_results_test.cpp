// The window with the fit's details, and a long counting cancelled.

#include "tests/app/window/main_window_fixture.h"

namespace {

// A suite of its own: the fixture of each file is a class of its own.
class MainWindowFitResults : public MainWindow {};

// Sierpinski's carpet of 3^5 pixels, black on white, with one white row and column
// before it so that the corner grid does not fit it by luck.
QImage Carpet()
{
    QImage image(244, 244, QImage::Format_RGB32);
    image.fill(kWhite);
    for (int y = 0; y < 243; ++y)
        for (int x = 0; x < 243; ++x) {
            bool hole = false;
            for (int a = x, b = y; a > 0 || b > 0; a /= 3, b /= 3)
                hole = hole || (a % 3 == 1 && b % 3 == 1);
            if (!hole)
                image.setPixel(x + 1, y + 1, kBlack);
        }
    return image;
}

// The row of the workbook sheet whose first cell is `caption`, or 0.
int RowOf(const TSheetCells& sheet, const QString& caption)
{
    for (const auto& [place, cell] : sheet)
        if (place.second == 1 && cell.Text == caption)
            return place.first;
    return 0;
}

TEST_F(MainWindowFitResults, WithTheFitsDetailsTheWindowShowsTheFittedRangeItsUncertaintyAndTheOffsets)
{
    const QString carpet = FFolder.filePath("carpet.png");
    ASSERT_TRUE(Carpet().save(carpet));
    FForm.SetCountMethod({.Grid = TGridMode::All, .Fit = TFitChoice::Range, .FitFrom = 9, .FitTo = 81, .Details = true});
    Analyse(carpet, clBlack, 1, 243, 2);
    ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    EXPECT_EQ(FDialogs.Informed, QStringList{"Finished Counting"});

    // Sizes 1, 3, ..., 243: 9 to 81 by 2 are fitted, the rest are not.
    const TSeries& fitted = FForm.Zemplot1->Series(1);
    const TSeries& outside = FForm.Zemplot1->Series(2);
    const TSeries& slopes = FForm.Zemplot1->Series(3);
    ASSERT_EQ(fitted.Count(), 37);
    ASSERT_EQ(outside.Count(), 122 - 37);
    for (const TDataPoint& point : fitted.Points())
        EXPECT_TRUE(point.X >= std::log10(9.0) - 1e-12 && point.X <= std::log10(81.0) + 1e-12) << point.X;
    for (const TDataPoint& point : outside.Points())
        EXPECT_TRUE(point.X < std::log10(9.0) || point.X > std::log10(81.0)) << point.X;
    EXPECT_EQ(fitted.Points().front().X, std::log10(9.0)) << "the line starts at the first fitted size";
    EXPECT_EQ(slopes.Count(), 36);
    EXPECT_EQ(&slopes.Axis(), &FForm.Zemplot1->YAxis_Second());
    EXPECT_TRUE(FForm.Zemplot1->YAxis_Second().ShowAxis());
    // The local dimensions sit between neighbouring fitted sizes and, weighed by the
    // steps, add up to the fall from the first fitted count to the last.
    double fall = 0.0;
    for (int i = 0; i < slopes.Count(); ++i) {
        const TDataPoint &left = fitted.Points()[i], &right = fitted.Points()[i + 1];
        EXPECT_NEAR(slopes.Points()[i].X, (left.X + right.X) / 2, 1e-12);
        fall += slopes.Points()[i].Y * (right.X - left.X);
    }
    EXPECT_NEAR(fall, fitted.Points().front().Y - fitted.Points().back().Y, 1e-9);
    for (const TDataPoint& point : slopes.Points())
        EXPECT_TRUE(point.Y >= FForm.Zemplot1->YAxis_Second().Min() && point.Y <= FForm.Zemplot1->YAxis_Second().Max())
            << point.Y;
    EXPECT_TRUE(FForm.Zemplot1->Legend().visible());
    EXPECT_NE(fitted.ShowInLegend(), 0);
    EXPECT_NE(outside.SeriesName(), fitted.SeriesName());
    EXPECT_EQ(FForm.Zemplot1->Appearance().GraphTitle(), "Fractal Graph for carpet.png");

    // The labels: D of the fitted sizes alone, inside its interval; the warnings in words.
    const double dimension = -FForm.Zemplot1->Series(1).GetCompStats().Slope;
    EXPECT_EQ(FForm.StaticText3->text(), QString("D: %1").arg(dimension, 0, 'f', 4));
    const QStringList lines = FForm.FitDetails->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    const QRegularExpressionMatch interval =
        QRegularExpression("^95 %: (\\d\\.\\d{4}) to (\\d\\.\\d{4}), se (\\d\\.\\d{4})$").match(lines[0]);
    ASSERT_TRUE(interval.hasMatch()) << lines[0].toStdString();
    EXPECT_LT(interval.captured(1).toDouble(), dimension);
    EXPECT_GT(interval.captured(2).toDouble(), dimension);
    EXPECT_TRUE(lines[1].startsWith("r\u00B2 0.9")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(", n 37, sizes 9 to 81")) << lines[1].toStdString();
    EXPECT_TRUE(lines.filter("Warning: The fitted box sizes span 0.95 decades").size() == 1)
        << FForm.FitDetails->toPlainText().toStdString();

    // The details sheet: the method, the rule, the uncertainty and every offset's counts.
    const TSheetCells details = Save("carpet.xlsx").Sheets.at(1);
    const auto value = [&](const char* caption) {
        const int row = RowOf(details, QString::fromUtf8(caption));
        EXPECT_GT(row, 0) << caption;
        return details.contains({row, 2}) ? details.at({row, 2}) : TSheetCell{};
    };
    EXPECT_EQ(value("Foreground").Text, QString::fromStdString(TForegroundRule::Colour(0).Text()));
    EXPECT_EQ(value("Grid").Text, "all");
    EXPECT_EQ(value("Sizes").Text, "linear");
    EXPECT_EQ(value("Fitted from box size").Number, 9);
    EXPECT_EQ(value("Fitted to box size").Number, 81);
    EXPECT_EQ(value("Sizes fitted (n)").Number, 37);
    EXPECT_NEAR(value("r\u00B2").Number, lines[1].mid(3, 7).toDouble(), 5e-6);
    EXPECT_NEAR(value("Standard error of the slope").Number, interval.captured(3).toDouble(), 5e-5);
    EXPECT_NEAR(value("D, 95 % low").Number, interval.captured(1).toDouble(), 5e-5);
    EXPECT_NEAR(value("D, 95 % high").Number, interval.captured(2).toDouble(), 5e-5);
    EXPECT_GT(value("D spread over the offsets").Number, 0.0);
    EXPECT_FALSE(value("Warning").Text.isEmpty());
    const int header = RowOf(details, "d");
    ASSERT_GT(header, 0);
    EXPECT_EQ(details.at({header, 6}).Text, "N(d) least");
    // At 3^k pixels the least count over every placement is the carpet's own 8^(5-k),
    // the one from the corner is larger, as the carpet starts one pixel in.
    for (const int k : {1, 2, 4}) {
        const int d = static_cast<int>(std::pow(3, k));
        const int row = header + 1 + (d - 1) / 2;
        ASSERT_EQ(details.at({row, 1}).Number, d);
        EXPECT_EQ(details.at({row, 2}).Number, std::pow(8, 5 - k)) << d;
        EXPECT_EQ(details.at({row, 6}).Number, std::pow(8, 5 - k)) << d;
        EXPECT_GT(details.at({row, 5}).Number, std::pow(8, 5 - k)) << d;
        EXPECT_GE(details.at({row, 7}).Number, details.at({row, 5}).Number) << d;
    }

    // The window's own method again: one series, no legend, no second axis, no details.
    FForm.SetCountMethod({});
    Analyse(carpet, clBlack);
    EXPECT_EQ(FForm.Zemplot1->Series(1).Count(), 10);
    EXPECT_EQ(FForm.Zemplot1->CountSeries(), 1);
    EXPECT_FALSE(FForm.Zemplot1->Legend().visible());
    EXPECT_FALSE(FForm.Zemplot1->YAxis_Second().ShowAxis());
    EXPECT_TRUE(FForm.FitDetails->toPlainText().isEmpty());
    EXPECT_EQ(FForm.StaticText3->text().size(), QString("D: 1.83").size());
}

TEST_F(MainWindowFitResults, CancellingALongCountingKeepsTheLastResults)
{
    // Noise over a large picture, counted over every grid offset at 256 sizes, takes
    // long enough to be cancelled once its progress shows, here at once.
    QImage noise(6000, 6000, QImage::Format_Mono);
    std::mt19937 random(7);
    for (int y = 0; y < noise.height(); ++y) {
        uchar* line = noise.scanLine(y);
        for (int i = 0; i < noise.bytesPerLine(); ++i)
            line[i] = static_cast<uchar>(random());
    }
    const QString picture = FFolder.filePath("noise.png");
    ASSERT_TRUE(noise.save(picture));
    Analyse(picture, clBlack);
    ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    const TShownResults before = Shown();
    const QString detailsBefore = FForm.FitDetails->toPlainText();
    FDialogs.Informed.clear();

    FForm.SetCountMethod({.Grid = TGridMode::Min, .Details = true});
    FForm.SetProgressDelay(std::chrono::milliseconds(0));
    FForm.SpinEdit1->SetValue(1);
    FForm.SpinEdit2->SetValue(256);
    FForm.SpinEdit3->SetValue(1);
    FDialogs.ColourAnswers.push_back(clBlack);
    bool cancelled = false;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        auto* progress = static_cast<TCountingProgress*>(FForm.findChild<QDialog*>(kCountingProgressName));
        if (progress && progress->isVisible() && !cancelled) {
            cancelled = true;
            progress->CancelButton()->click();
        }
    });
    cancel.start(10);
    FForm.BitBtn3->click();
    cancel.stop();
    ASSERT_TRUE(cancelled) << "the progress showed";
    EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    EXPECT_TRUE(FDialogs.Informed.isEmpty());
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(FForm.FitDetails->toPlainText(), detailsBefore);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(FForm.findChild<QDialog*>(kCountingProgressName));
    EXPECT_EQ(Save("kept.xlsx").Sheets.at(1).at({5, 2}).Number, 10) << "the last analysis is what is saved";
}

}  // namespace
