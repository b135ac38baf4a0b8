// The results of an analysis in the graph and the labels.
#include "app/window/main_window.h"

#include <vector>

#include "app/engine/result_series.h"
#include "app/engine/result_texts.h"

void TForm1::ShowResults(const TBoxCounts& counts)
{
    std::vector<TBoxCount> sizes;
    for (int d = FMinBoxSize; d <= FMaxBoxSize; d += SpinEdit3->Value())
        sizes.push_back({d, counts[static_cast<std::size_t>(d - 1)]});
    TSeries& series = Zemplot1->Series(1);
    const TResultAxisLimits limits = FillResultSeries(series, sizes);
    series.SetRegressionLineColor(clBlack);
    series.SetRegressionLineStyle(psDashDot);
    const TResultTexts texts =
        MakeResultTexts(PictureName().toStdString(), series.GetCompStats(), DecimalSeparator());
    StaticText1->setText(QString::fromStdString(texts.Slope.Joined()));
    StaticText2->setText(QString::fromStdString(texts.Intercept.Joined()));
    StaticText7->setText(QString::fromStdString(texts.Correlation.Joined()));
    StaticText3->setText(QString::fromStdString(texts.Dimension.Joined()));
    Zemplot1->XAxis().SetMax(limits.XMax);
    Zemplot1->YAxis().SetMax(limits.YMax);
    Zemplot1->XAxis().SetMin(limits.XMin);
    Zemplot1->YAxis().SetMin(limits.YMin);
    Zemplot1->Appearance().SetGraphTitle("Fractal Graph for " + PictureName().toStdString());
    BitBtn4->setEnabled(true);
}
