#include "graph/core/checked_float.h"

#include "graph/core/error.h"

double Divide(double a, double b)
{
    if (b == 0.0)
        throw TVandrelError(kFloatDivisionByZero);
    return a / b;
}

long double Divide(long double a, long double b)
{
    if (b == 0.0L)
        throw TVandrelError(kFloatDivisionByZero);
    return a / b;
}
