#pragma once

#include <string>
#include <string_view>

// Fixed-point text of a number: rounded to at most `precision` significant digits
// (1 to 18) and written with exactly `decimals` digits (0 to 18) after the
// separator, with a leading minus for negative values and at least one digit before
// the separator. Exact halves round away from zero. A value that would need more
// than `precision` digits before the separator is written in scientific form
// instead: the mantissa with `precision` significant digits, trailing zeros
// dropped, then "E", the exponent's sign and its digits (1.2345E+20).
std::string FormatFixed(long double value, int precision, int decimals,
                        std::string_view decimalSeparator);

// Scientific text with exactly `digits` significant digits (1 to 18) and the
// shortest exponent: 12345 with 2 digits is 1.2E+4, 0.00012 is 1.2E-4, 0 is 0.0E+0.
// Exact halves round away from zero.
std::string FormatExponent(long double value, int digits, std::string_view decimalSeparator);
