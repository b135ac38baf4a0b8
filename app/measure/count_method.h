#pragma once

// How the boxes are laid, which sizes are counted and which of them the line is
// fitted to. The defaults are the window's: one grid from the top-left corner, sizes
// from the minimum to the maximum by the step, every size fitted.
enum class TGridMode { TopLeft, Min, All };
enum class TSizeSeries { Linear, Geometric, List };
enum class TFitChoice { All, Auto, Range };

struct TCountMethod {
    TGridMode Grid = TGridMode::TopLeft;
    TSizeSeries Sizes = TSizeSeries::Linear;
    TFitChoice Fit = TFitChoice::All;
    int FitFrom = 0; // the box sizes of a TFitChoice::Range, both included
    int FitTo = 0;
    // Reports carry the method, the uncertainty, the warnings and the provenance;
    // true with --details or any option of the method.
    bool Details = false;
};

const char* GridModeName(TGridMode grid);
const char* SizeSeriesName(TSizeSeries sizes);
