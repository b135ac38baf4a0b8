#include "app/measure/count_method.h"

const char* GridModeName(TGridMode grid)
{
    switch (grid) {
    case TGridMode::Min:
        return "min";
    case TGridMode::All:
        return "all";
    case TGridMode::TopLeft:
        break;
    }
    return "topleft";
}

const char* SizeSeriesName(TSizeSeries sizes)
{
    switch (sizes) {
    case TSizeSeries::Geometric:
        return "geometric";
    case TSizeSeries::List:
        return "list";
    case TSizeSeries::Linear:
        break;
    }
    return "linear";
}
