#include "app/engine/decimal_log.h"

#include <cmath>

#include "graph/core/checked_float.h"
#include "graph/core/error.h"

long double Log10(long double x)
{
    if (x == 0.0L)
        throw TVandrelError(kFloatDivisionByZero);
    return std::log(x) / std::log(10.0L);
}
