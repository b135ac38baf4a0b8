#pragma once

#include <string>
#include <string_view>

// A date-time value: days since 30 December 1899 (day 0), the fraction being the
// time of day. Before day 0 the whole part counts back and the fraction still runs
// forward from midnight, so -1.25 is 29 December 1899 at 06:00.
using TDateTime = double;

inline constexpr const char* kInvalidDate = "Invalid date";
inline constexpr const char* kInvalidTime = "Invalid time";
inline constexpr const char* kDateTimeOutOfRange =
    "The date-time value lies outside the years 1 to 9999";

// The day number of a date; raises kInvalidDate unless the year is 1 to 9999 and the
// month and day exist in it.
TDateTime EncodeDate(int year, int month, int day);

// The fraction of a day of a time; raises kInvalidTime unless the hour is 0 to 23,
// the minute and second 0 to 59 and the millisecond 0 to 999.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// The parts of a value rounded to the nearest millisecond, so 0.9999999999 is the
// start of day 1. Raise kDateTimeOutOfRange when the day lies outside the years 1 to
// 9999 or the value is not a number.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// Advances (year, month) by k months (k from 1 to 12 in use): past December the
// year grows by one and the month starts again from January.
void AddMonths(int& year, int& month, int k);

// The local date and time now.
TDateTime Now();

// The text of a value by a pattern of letters (d, m, y, h, n, s, z, am/pm, a/p,
// ampm) and literal text; see date_time.cpp for the letters' meanings.
std::string FormatDateTime(std::string_view pattern, TDateTime value);
