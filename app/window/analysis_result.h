#pragma once

#include <cstdint>
#include <vector>

#include <QDateTime>
#include <QFileInfo>
#include <QSize>
#include <QString>

#include "app/engine/box_count_fit.h"
#include "app/engine/result_series.h"

// One analysis as it was made: the picture, the colour and sizes asked for, the
// counts and their fit. The window keeps the last one, and its labels, graph and
// workbook are made from it, so they cannot speak of different pictures.
struct TAnalysisResult {
    QString PictureFile; // the full path
    QSize PictureSize;
    uint32_t Rgb = 0; // 0xRRGGBB
    int MinBoxSize = 0;
    int MaxBoxSize = 0;
    int Increment = 0;
    std::vector<TBoxCount> Counts; // one per size, in increasing d
    TBoxCountFit Fit;
    QDateTime Made;

    QString PictureName() const { return QFileInfo(PictureFile).fileName(); }
};
