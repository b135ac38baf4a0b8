#include "graph/core/checked_float.h"

#include "graph/core/error.h"

long double Divide(long double a, long double b)
{
    if (b == 0.0L)
        throw TVandrelError(kFloatDivisionByZero);
    return a / b;
}
