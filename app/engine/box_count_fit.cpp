#include "app/engine/box_count_fit.h"

#include "graph/data/regression.h"

TBoxCountFit FitBoxCounts(std::span<const TBoxCount> counts)
{
    TDataSeries series;
    series.SetRegressionType(rtLeastSquaresLine);
    FillResultSeries(series, counts);
    TBoxCountFit fit;
    fit.Stats = series.GetCompStats();
    // A fresh series has no message, so any message is this computation's.
    fit.HasCorrelation = !fit.Stats.Failed && fit.Stats.Msg.empty();
    return fit;
}
