#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as stored texts: the named style's values, text points and counts.

// The integer a stored text holds: an optional sign and decimal digits, nothing
// else; any other text raises "'<text>' is not a valid integer value".
int32_t IntegerOfText(std::string_view text);

// The number a stored text holds, with `separator` as its decimal separator; any
// other text raises "'<text>' is not a valid floating point value".
double FloatOfText(std::string_view text, std::string_view separator);

// Up to 15 significant digits in a general format; FloatOfText reads it back.
std::string TextOfFloat(double value, std::string_view separator);

// Raises "'<text>' is not a valid integer value", with control characters of the
// text shown as '?'.
[[noreturn]] void RaiseNotInteger(std::string_view text);
