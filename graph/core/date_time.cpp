#include "graph/core/date_time.h"

#include "graph/core/error.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

namespace {

namespace chrono = std::chrono;

constexpr long long kMsPerDay = 86'400'000;
constexpr chrono::sys_days kEpoch = chrono::year{1899} / 12 / 30;
constexpr long long kFirstDay = (chrono::sys_days{chrono::year{1} / 1 / 1} - kEpoch).count();
constexpr long long kLastDay = (chrono::sys_days{chrono::year{9999} / 12 / 31} - kEpoch).count();

// A value rounded to whole milliseconds and split into its day and the time of day.
struct TSplit {
    long long day;
    long long msOfDay;
};

TSplit Split(TDateTime value)
{
    // Anything this large is out of range anyway; rejecting it first keeps llround
    // defined (and NaN fails the comparison).
    if (!(std::fabs(value) < 1e7))
        throw TVandrelError(kDateTimeOutOfRange);
    const long long total = std::llround(value * static_cast<double>(kMsPerDay));
    // The day truncates toward zero while the time counts forward from midnight,
    // which is what makes -1.25 the morning of day -1 rather than the evening of -2.
    const long long day = total / kMsPerDay;
    if (day < kFirstDay || day > kLastDay)
        throw TVandrelError(kDateTimeOutOfRange);
    return {day, std::llabs(total) % kMsPerDay};
}

chrono::sys_days DayOf(TDateTime value)
{
    return kEpoch + chrono::days{Split(value).day};
}

constexpr std::array<std::string_view, 7> kDayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c)
{
    const char u = Upper(c);
    return u >= 'A' && u <= 'Z';
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i]))
            return false;
    }
    return true;
}

void AppendNumber(std::string& out, int value, int digits)
{
    const std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        out.append(static_cast<std::size_t>(digits) - text.size(), '0');
    out += text;
}

// Three letters give the short name, more the whole one.
void AppendName(std::string& out, std::string_view name, int letters)
{
    out += letters == 3 ? name.substr(0, 3) : name;
}

enum class TTokenKind { Literal, Field, AmPm };

struct TToken {
    TTokenKind kind;
    // The upper-case letter of a field, of an am/pm marker ('A') or of a letter
    // copied as is; 0 for quoted text and other characters, which do not count
    // when an m looks back for an h.
    char letter = 0;
    int count = 0;
    // Literal text, or an am/pm marker as written in the pattern.
    std::string text;
    bool twelveHour = false;
};

// Pattern language. Letters are case-insensitive and a run of one letter is one
// token; the run length chooses the form:
//   d dd ddd dddd   day: 4, 04, short name (Wed), long name (Wednesday)
//   m mm mmm mmmm   month: 3, 03, Mar, March; but m and mm straight after an h
//                   token (only letters count, so "hh:mm" qualifies) are minutes
//   y yy / yyy yyyy year: last two digits / four digits
//   h hh            hour: 9, 09; on a 12-hour clock when an am/pm marker comes
//                   before the next h
//   n nn, s ss      minutes, seconds: 5, 05
//   z zzz           milliseconds: 7, 007
//   am/pm a/p       am or pm (a or p) in the case written; ampm writes AM or PM
// Text in single or double quotes is copied without them (a doubled quote is just
// two quoted pieces); anything else is copied as is.
std::vector<TToken> Tokenize(std::string_view pattern)
{
    static constexpr std::array<std::string_view, 3> kAmPmMarkers = {"am/pm", "a/p", "ampm"};
    static constexpr std::string_view kFieldLetters = "DMYHNSZ";

    std::vector<TToken> tokens;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            tokens.push_back(
                {TTokenKind::Literal, 0, 0, std::string(pattern.substr(i + 1, end - i - 1))});
            i = end + 1;
            continue;
        }
        const char letter = Upper(c);
        bool marker = false;
        for (const std::string_view m : kAmPmMarkers) {
            if (StartsWithIgnoringCase(pattern.substr(i), m)) {
                tokens.push_back(
                    {TTokenKind::AmPm, 'A', 1, std::string(pattern.substr(i, m.size()))});
                i += m.size();
                marker = true;
                break;
            }
        }
        if (marker)
            continue;
        if (IsLetter(c) && kFieldLetters.find(letter) != std::string_view::npos) {
            std::size_t end = i + 1;
            while (end < pattern.size() && Upper(pattern[end]) == letter)
                ++end;
            tokens.push_back({TTokenKind::Field, letter, static_cast<int>(end - i), {}});
            i = end;
            continue;
        }
        tokens.push_back({TTokenKind::Literal, IsLetter(c) ? letter : '\0', 1, std::string(1, c)});
        ++i;
    }

    char lastLetter = 0;
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        TToken& token = tokens[t];
        if (token.letter == 0)
            continue;
        const bool field = token.kind == TTokenKind::Field;
        if (field && token.letter == 'M' && token.count <= 2 && lastLetter == 'H')
            token.letter = 'N';
        lastLetter = token.letter;
        if (field && token.letter == 'H') {
            for (std::size_t u = t + 1; u < tokens.size(); ++u) {
                if (tokens[u].kind == TTokenKind::Field && tokens[u].letter == 'H')
                    break;
                if (tokens[u].kind == TTokenKind::AmPm) {
                    token.twelveHour = true;
                    break;
                }
            }
        }
    }
    return tokens;
}

struct TParts {
    int year, month, day, weekday;
    int hour, minute, second, millisecond;
};

TParts PartsOf(TDateTime value)
{
    TParts p{};
    DecodeDate(value, p.year, p.month, p.day);
    DecodeTime(value, p.hour, p.minute, p.second, p.millisecond);
    p.weekday = DayOfWeek(value);
    return p;
}

void AppendField(std::string& out, const TToken& token, const TParts& p)
{
    const int n = token.count;
    switch (token.letter) {
    case 'D':
        if (n <= 2)
            AppendNumber(out, p.day, n);
        else
            AppendName(out, kDayNames[static_cast<std::size_t>(p.weekday - 1)], n);
        break;
    case 'M':
        if (n <= 2)
            AppendNumber(out, p.month, n);
        else
            AppendName(out, kMonthNames[static_cast<std::size_t>(p.month - 1)], n);
        break;
    case 'Y':
        if (n <= 2)
            AppendNumber(out, p.year % 100, 2);
        else
            AppendNumber(out, p.year, 4);
        break;
    case 'H': {
        int hour = p.hour;
        if (token.twelveHour) {
            if (hour == 0)
                hour = 12;
            else if (hour > 12)
                hour -= 12;
        }
        AppendNumber(out, hour, n == 1 ? 1 : 2);
        break;
    }
    case 'N':
        AppendNumber(out, p.minute, n == 1 ? 1 : 2);
        break;
    case 'S':
        AppendNumber(out, p.second, n == 1 ? 1 : 2);
        break;
    case 'Z':
        AppendNumber(out, p.millisecond, n == 1 ? 1 : 3);
        break;
    }
}

void AppendAmPm(std::string& out, const std::string& marker, bool pm)
{
    if (marker.size() == 5)  // am/pm
        out += marker.substr(pm ? 3 : 0, 2);
    else if (marker.size() == 3)  // a/p
        out += marker[pm ? 2 : 0];
    else  // ampm
        out += pm ? "PM" : "AM";
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    // Checked before building the calendar types, which keep a day above 255 only
    // as an unspecified value.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        throw TVandrelError(kInvalidDate);
    const chrono::year_month_day date{chrono::year{year},
                                      chrono::month{static_cast<unsigned>(month)},
                                      chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok())
        throw TVandrelError(kInvalidDate);
    return static_cast<TDateTime>((chrono::sys_days{date} - kEpoch).count());
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59
        || millisecond < 0 || millisecond > 999)
        throw TVandrelError(kInvalidTime);
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const chrono::year_month_day date{DayOf(value)};
    year = static_cast<int>(date.year());
    month = static_cast<int>(static_cast<unsigned>(date.month()));
    day = static_cast<int>(static_cast<unsigned>(date.day()));
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    const long long ms = Split(value).msOfDay;
    hour = static_cast<int>(ms / 3'600'000);
    minute = static_cast<int>(ms / 60'000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value)
{
    return static_cast<int>(chrono::weekday{DayOf(value)}.c_encoding()) + 1;
}

void AddMonths(int& year, int& month, int k)
{
    // Floor division, so the rule also holds beyond one year either way.
    const int months = month - 1 + k;
    const int wholeYears = months / 12 - (months % 12 < 0 ? 1 : 0);
    year += wholeYears;
    month = months - wholeYears * 12 + 1;
}

TDateTime Now()
{
    const auto now = chrono::system_clock::now();
    const auto wholeSeconds = chrono::floor<chrono::seconds>(now);
    const std::time_t t = chrono::system_clock::to_time_t(wholeSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms =
        static_cast<int>(chrono::duration_cast<chrono::milliseconds>(now - wholeSeconds).count());
    // A leap second (tm_sec 60) is folded into the last ordinary one.
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)
           + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, ms);
}

std::string FormatDateTime(std::string_view pattern, TDateTime value)
{
    // Decoded only when a field needs it, so a pattern of plain text never fails.
    std::optional<TParts> parts;
    std::string out;
    for (const TToken& token : Tokenize(pattern)) {
        if (token.kind == TTokenKind::Literal) {
            out += token.text;
            continue;
        }
        if (!parts)
            parts = PartsOf(value);
        if (token.kind == TTokenKind::AmPm)
            AppendAmPm(out, token.text, parts->hour >= 12);
        else
            AppendField(out, token, *parts);
    }
    return out;
}
