#include "graph/stream/stream_number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "graph/core/error.h"

namespace {

// The offending text as a message can show it: a damaged stream may hand over any
// bytes, and a control character (a zero byte above all) would cut or garble it.
std::string Shown(std::string_view text)
{
    constexpr std::size_t kLongest = 80;
    std::string shown;
    for (const char c : text.substr(0, kLongest))
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    if (text.size() > kLongest)
        shown += "...";
    return shown;
}

[[noreturn]] void RaiseNotFloat(std::string_view text)
{
    throw TVandrelError("'" + Shown(text) + "' is not a valid floating point value");
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t CountDigits(std::string_view text, std::size_t from)
{
    std::size_t end = from;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - from;
}

}  // namespace

[[noreturn]] void RaiseNotInteger(std::string_view text)
{
    throw TVandrelError("'" + Shown(text) + "' is not a valid integer value");
}

// An optional sign and decimal digits, nothing else.
int32_t IntegerOfText(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    if (i == text.size() || CountDigits(text, i) != text.size() - i)
        RaiseNotInteger(text);
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{1} << 31)
            RaiseNotInteger(text);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        RaiseNotInteger(text);
    return static_cast<int32_t>(value);
}

// An optional sign, digits with at most one decimal separator, and an optional
// exponent (E or e, optional sign, digits). "INF", "-INF" and "NAN" are taken too, as
// they are what FloatToText writes for those values.
double FloatOfText(std::string_view text, std::string_view separator)
{
    if (text == "NAN")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "INF" || text == "+INF" || text == "-INF")
        return text[0] == '-' ? -HUGE_VAL : HUGE_VAL;

    std::size_t i = 0;
    std::string plain; // the same number as from_chars wants it
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    const std::size_t integerDigits = CountDigits(text, i);
    std::string digits(text.substr(i, integerDigits));
    i += integerDigits;
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        const std::size_t fractionDigits = CountDigits(text, i);
        digits.append(text.substr(i, fractionDigits));
        i += fractionDigits;
    }
    if (digits.empty())
        RaiseNotFloat(text);
    plain += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);

    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        const std::size_t exponentDigits = CountDigits(text, i);
        if (exponentDigits == 0)
            RaiseNotFloat(text);
        for (std::size_t k = i; k < i + exponentDigits; ++k)
            exponent = std::min<int64_t>(exponent * 10 + (text[k] - '0'), 1'000'000);
        if (negativeExponent)
            exponent = -exponent;
        i += exponentDigits;
    }
    if (i != text.size())
        RaiseNotFloat(text);
    plain += "e" + std::to_string(exponent);

    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large is an error, too small is zero: tell them by the decimal power of
        // the first significant digit.
        const std::size_t first = digits.find_first_not_of('0');
        const int64_t power = exponent + static_cast<int64_t>(integerDigits) - 1 -
                              static_cast<int64_t>(first);
        const bool negative = plain[0] == '-';
        if (power <= 0)
            return negative ? -0.0 : 0.0;
        // The largest double rounds up when written with 15 digits; its text must
        // still read back.
        std::string significant = digits.substr(first);
        std::string largest = "179769313486232";
        significant.resize(std::max(significant.size(), largest.size()), '0');
        largest.resize(significant.size(), '0');
        if (power == 308 && significant <= largest)
            return negative ? -std::numeric_limits<double>::max()
                            : std::numeric_limits<double>::max();
        RaiseNotFloat(text);
    }
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size())
        RaiseNotFloat(text);
    return value;
}

// A general format with up to 15 significant digits: fixed notation with trailing
// zeros dropped while the decimal exponent lies in -5..14 (0.00001 up to 15 integer
// digits), else scientific with the shortest exponent and its sign (1E+20, 1.5E-7).
std::string TextOfFloat(double value, std::string_view separator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    char buffer[64];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, static_cast<std::size_t>(converted.ptr - buffer));
    const bool negative = scientific[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    const std::size_t e = scientific.find('e');
    std::string digits(1, scientific[first]);
    digits.append(scientific.substr(first + 2, e - first - 2));
    digits.erase(digits.find_last_not_of('0') + 1);
    int exponent = 0;
    const std::size_t exponentStart = scientific[e + 1] == '+' ? e + 2 : e + 1;
    std::from_chars(scientific.data() + exponentStart, scientific.data() + scientific.size(),
                    exponent);

    std::string text = negative ? "-" : "";
    if (exponent < -5 || exponent > 14) {
        text += digits[0];
        if (digits.size() > 1)
            text += std::string(separator) + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        text += std::to_string(std::abs(exponent));
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() < integerDigits)
            digits.append(integerDigits - digits.size(), '0');
        text += digits.substr(0, integerDigits);
        if (digits.size() > integerDigits)
            text += std::string(separator) + digits.substr(integerDigits);
    } else {
        text += "0" + std::string(separator) +
                std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return text;
}

