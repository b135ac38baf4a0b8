#pragma once

#include <cstddef>
#include <vector>

#include <QLocale>
#include <QString>

#include "graph/core/date_time.h"

// Reading a column's text as a value, the way the user writes numbers and dates
// (the locale given, normally QLocale()). Blanks around the text are ignored, since
// fixed-width columns and hand-made files pad their values.

// A number in the locale's notation: an optional sign, digits with the locale's
// decimal separator, an optional exponent. Group separators are refused, so that
// "1,500" in a file written elsewhere is not silently read as fifteen hundred;
// infinities and NaN are refused, as they cannot be plotted.
class TNumberReader {
public:
    explicit TNumberReader(const QLocale& locale);
    bool Read(const QString& text, double& value) const;

private:
    QLocale FLocale;
};

// A date, a date and time, or a time of day, as days since 30 December 1899 (a time
// alone falls on that day). Tried in order:
//   1. the locale's short and long date formats, each alone or followed by a blank
//      and a time (the locale's short or long time format, H:mm, H:mm:ss or
//      H:mm:ss.zzz); a short format with a two-digit year is tried with a four-digit
//      year first;
//   2. a time of day alone, in the locale's formats or as HH:mm[:ss[.zzz]];
//   3. ISO 8601: yyyy-MM-dd, optionally with a time after "T" or a blank; a zone
//      offset is ignored, the time counts as written.
// Two-digit years fall in the hundred years from 80 years before the current year.
// Times are read as written, without local time rules, so a time that daylight
// saving skips is still read.
class TDateTimeReader {
public:
    explicit TDateTimeReader(const QLocale& locale);
    bool Read(const QString& text, TDateTime& value);

private:
    enum class TKind { DateTime, TimeOfDay };
    struct TPattern {
        QString Format;
        TKind Kind;
        bool TwoDigitYear;
    };

    bool ReadWith(const TPattern& pattern, const QString& text, TDateTime& value) const;
    // Pattern `index`, or ISO 8601 for the index after the last pattern.
    bool ReadAt(std::size_t index, const QString& text, TDateTime& value) const;

    QLocale FLocale;
    std::vector<TPattern> FPatterns;
    // A column keeps one format: the one that read the last value goes first, ISO
    // 8601 included, so that its values do not try every pattern of the locale.
    std::size_t FLastHit = 0;
};
