// The results of an analysis in the graph and the labels, and their clearing.
#include "app/window/main_window.h"

#include "app/engine/fit_texts.h"
#include "app/engine/result_series.h"
#include "app/engine/result_texts.h"
#include "app/window/fit_graph.h"

namespace {

// What the r label shows when r could not be computed.
const QString kNoValue = QStringLiteral("\u2013");

}  // namespace

void TForm1::ShowResults(const TAnalysisResult& result)
{
    const TResultAxisLimits limits = ShowCountsOnGraph(*Zemplot1, result);
    TSeries& series = Zemplot1->Series(kFittedSeries);
    series.SetRegressionLineColor(clBlack);
    series.SetRegressionLineStyle(psDashDot);
    // The series draws the line; the texts come from the result's own fit, which no
    // earlier analysis can leave a value in.
    const TResultTexts texts = MakeResultTexts(result.PictureName().toStdString(), result.Fit(), DecimalSeparator());
    StaticText1->setText(QString::fromStdString(texts.Slope.Joined()));
    StaticText2->setText(QString::fromStdString(texts.Intercept.Joined()));
    StaticText7->setText(QString::fromStdString(texts.Correlation.Caption)
                         + (texts.Correlation.Value.empty() ? kNoValue : QString::fromStdString(texts.Correlation.Value)));
    StaticText3->setText(QString::fromStdString(texts.Dimension.Joined()));
    if (const std::optional<TScalingFit>& fit = result.Measurement.Fit) {
        const TFitTexts fitTexts = MakeFitTexts(*fit, DecimalSeparator());
        StaticText3->setText(QString::fromStdString(fitTexts.Dimension));
        QStringList lines{QString::fromStdString(fitTexts.Uncertainty), QString::fromStdString(fitTexts.Quality)};
        for (const std::string& warning : result.Measurement.Warnings)
            lines << QStringLiteral("Warning: ") + QString::fromStdString(warning);
        FitDetails->setPlainText(lines.join(QLatin1Char('\n')));
    }
    Zemplot1->XAxis().SetMax(limits.XMax);
    Zemplot1->YAxis().SetMax(limits.YMax);
    Zemplot1->XAxis().SetMin(limits.XMin);
    Zemplot1->YAxis().SetMin(limits.YMin);
    Zemplot1->Appearance().SetGraphTitle("Fractal Graph for " + result.PictureName().toStdString());
    BitBtn4->setEnabled(true);
}

void TForm1::ClearResults()
{
    FLastAnalysis.reset();
    BitBtn4->setEnabled(false);
    StaticText1->setText(QStringLiteral("Slope: "));
    StaticText2->setText(QStringLiteral("Intercept: "));
    StaticText7->setText(QStringLiteral("Correlation coefficient (r): "));
    StaticText3->setText(QStringLiteral("D: "));
    for (int row = 1; row < StringGrid1->RowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            StringGrid1->SetCell(column, row, QString());
    FitDetails->clear();
    ClearCountsFromGraph(*Zemplot1);
    Zemplot1->Appearance().SetGraphTitle("Fractal Graph");
}
