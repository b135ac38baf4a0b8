#include "graph/core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// The decimal digits of a magnitude: digits[0] is worth 10^exponent. No digits at
// all stands for zero.
struct TDecimalDigits {
    std::string digits;
    int exponent = 0;
};

// Digits beyond the 19 that can matter. A long double that is not exactly halfway
// at one of its first 19 digits lies at least 1e-32 (relative) away from halfway,
// so 60 more digits always show on which side it lies, and an exact half shows as
// a 5 followed by zeros.
constexpr int kSpareDigits = 60;

TDecimalDigits DigitsOf(long double magnitude)
{
    TDecimalDigits result;
    if (magnitude == 0.0L)
        return result;
    char buffer[128];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, kSpareDigits);
    const std::string_view text(buffer, static_cast<std::size_t>(converted.ptr - buffer));
    const std::size_t e = text.find('e');
    result.digits.push_back(text[0]);
    result.digits.append(text.substr(2, e - 2));
    std::size_t exponentStart = e + 1;
    if (text[exponentStart] == '+')
        ++exponentStart;
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), result.exponent);
    return result;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one. With
// keep 0 only a carry can survive; with keep below 0 the value becomes zero.
void RoundTo(TDecimalDigits& number, int keep)
{
    if (keep < 0) {
        number.digits.clear();
        return;
    }
    if (keep >= static_cast<int>(number.digits.size()))
        return;
    const bool up = number.digits[static_cast<std::size_t>(keep)] >= '5';
    number.digits.resize(static_cast<std::size_t>(keep));
    if (!up)
        return;
    int i = keep - 1;
    while (i >= 0 && number.digits[static_cast<std::size_t>(i)] == '9')
        number.digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
        ++number.digits[static_cast<std::size_t>(i)];
    } else {
        number.digits.insert(number.digits.begin(), '1');
        ++number.exponent;
    }
}

// The digit worth 10^(exponent - index), '0' outside the stored digits.
char DigitAt(const TDecimalDigits& number, int index)
{
    if (index < 0 || index >= static_cast<int>(number.digits.size()))
        return '0';
    return number.digits[static_cast<std::size_t>(index)];
}

std::string ScientificText(const TDecimalDigits& number, std::string_view decimalSeparator)
{
    std::string text(1, number.digits[0]);
    const std::size_t lastNonZero = number.digits.find_last_not_of('0');
    if (lastNonZero != std::string::npos && lastNonZero > 0) {
        text += decimalSeparator;
        text.append(number.digits, 1, lastNonZero);
    }
    text += number.exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(number.exponent));
    return text;
}

std::string FixedText(const TDecimalDigits& number, int decimals, std::string_view decimalSeparator)
{
    std::string text;
    if (number.digits.empty() || number.exponent < 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i <= number.exponent; ++i)
            text += DigitAt(number, i);
    }
    if (decimals > 0) {
        text += decimalSeparator;
        for (int j = 1; j <= decimals; ++j)
            text += DigitAt(number, number.exponent + j);
    }
    return text;
}

}  // namespace

std::string FormatFixed(long double value, int precision, int decimals,
                        std::string_view decimalSeparator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);

    TDecimalDigits number = DigitsOf(std::fabs(value));
    // One rounding, at the last decimal or at the last significant digit, whichever
    // comes first.
    RoundTo(number, std::min(precision, number.exponent + 1 + decimals));

    const bool scientific = !number.digits.empty() && number.exponent + 1 > precision;
    std::string text = scientific ? ScientificText(number, decimalSeparator)
                                  : FixedText(number, decimals, decimalSeparator);
    // A value that rounds to zero is written without a sign.
    if (std::signbit(value) && !number.digits.empty())
        text.insert(0, 1, '-');
    return text;
}

std::string FormatExponent(long double value, int digits, std::string_view decimalSeparator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    digits = std::clamp(digits, 1, 18);

    TDecimalDigits number = DigitsOf(std::fabs(value));
    RoundTo(number, digits);
    std::string text(1, DigitAt(number, 0));
    if (digits > 1) {
        text += decimalSeparator;
        for (int i = 1; i < digits; ++i)
            text += DigitAt(number, i);
    }
    text += number.exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(number.exponent));
    if (std::signbit(value) && !number.digits.empty())
        text.insert(0, 1, '-');
    return text;
}
