#pragma once

#include <QDate>
#include <QTime>

// A date and time of day as the days since 30 December 1899, the time as the
// fraction (before day 0 the whole part counts back while the time still runs
// forward). False for an invalid date or time and for years outside 1 to 9999.
bool DayCountOf(const QDate& date, const QTime& time, double& value);
