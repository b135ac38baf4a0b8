#pragma once

#include <vector>

#include <QDateTime>
#include <QFileInfo>
#include <QSize>
#include <QString>

#include "app/engine/box_count_fit.h"
#include "app/engine/foreground_rule.h"
#include "app/engine/result_series.h"
#include "app/measure/count_method.h"
#include "app/measure/shape_choice.h"
#include "app/measure/shape_measurement.h"

// One analysis as it was made: the picture, how its shape was chosen and measured,
// the counts and their fit. The window keeps the last one, and its labels, graph and
// workbook are made from it, so they cannot speak of different pictures.
struct TAnalysisResult {
    QString PictureFile; // the full path
    QSize PictureSize;
    TShapeChoice Shape; // as asked
    TForegroundRule Foreground = TForegroundRule::Colour(0x000000); // as applied, Otsu's level filled in
    TCountMethod Method;
    int MinBoxSize = 0;
    int MaxBoxSize = 0;
    int Increment = 0;
    std::vector<int> BoxSizes; // counted, increasing
    TShapeMeasurement Measurement; // one count per size, in increasing d, and the fit
    QDateTime Made;

    QString PictureName() const { return QFileInfo(PictureFile).fileName(); }
    const std::vector<TBoxCount>& Counts() const { return Measurement.Counts; }
    // The fitted line as the labels and the table show it.
    TBoxCountFit Fit() const { return {Measurement.Stats, Measurement.HasCorrelation}; }
};
