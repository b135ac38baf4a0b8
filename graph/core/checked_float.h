#pragma once

// Floating-point faults that the system reports as errors instead of letting an
// infinity or a NaN slip into its results.

inline constexpr const char* kFloatDivisionByZero = "Floating point division by zero";

// a / b in extended precision; raises kFloatDivisionByZero when b is zero.
long double Divide(long double a, long double b);
