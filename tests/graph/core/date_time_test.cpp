#include "graph/core/date_time.h"

#include "graph/core/error.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

namespace {

struct TDecoded {
    int year, month, day, hour, minute, second, millisecond;
    bool operator==(const TDecoded&) const = default;
};

TDecoded Decoded(TDateTime value)
{
    TDecoded d{};
    DecodeDate(value, d.year, d.month, d.day);
    DecodeTime(value, d.hour, d.minute, d.second, d.millisecond);
    return d;
}

// Wednesday 4 March 2026 at 09:05:07.045.
const TDateTime kMorning = EncodeDate(2026, 3, 4) + EncodeTime(9, 5, 7, 45);

TDateTime At(int hour, int minute)
{
    return EncodeDate(2026, 3, 4) + EncodeTime(hour, minute, 0, 0);
}

TEST(EncodeDate, CountsDaysFromTheEndOf1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2026, 3, 4), 46085);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST(EncodeDate, RejectsDatesThatDoNotExist)
{
    EXPECT_THROW(EncodeDate(2026, 2, 29), TVandrelError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), TVandrelError);
    EXPECT_THROW(EncodeDate(2026, 4, 31), TVandrelError);
    EXPECT_THROW(EncodeDate(2026, 13, 1), TVandrelError);
    EXPECT_THROW(EncodeDate(2026, 0, 1), TVandrelError);
    EXPECT_THROW(EncodeDate(2026, 1, 0), TVandrelError);
    EXPECT_THROW(EncodeDate(2026, 1, 257), TVandrelError);
    EXPECT_THROW(EncodeDate(0, 1, 1), TVandrelError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), TVandrelError);
}

TEST(EncodeTime, GivesTheFractionOfTheDayAndRejectsImpossibleTimes)
{
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), TVandrelError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), TVandrelError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), TVandrelError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), TVandrelError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), TVandrelError);
}

TEST(Decode, ReturnsTheEncodedParts)
{
    EXPECT_EQ(Decoded(kMorning), (TDecoded{2026, 3, 4, 9, 5, 7, 45}));
    EXPECT_EQ(Decoded(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999)),
              (TDecoded{9999, 12, 31, 23, 59, 59, 999}));
    EXPECT_EQ(Decoded(EncodeDate(1, 1, 1)), (TDecoded{1, 1, 1, 0, 0, 0, 0}));
}

TEST(Decode, DecodesTheDayBeforeTheEpoch)
{
    // The day truncates toward zero and the time still runs forward from midnight.
    EXPECT_EQ(Decoded(-1.25), (TDecoded{1899, 12, 29, 6, 0, 0, 0}));
    EXPECT_EQ(Decoded(-0.5), (TDecoded{1899, 12, 30, 12, 0, 0, 0}));
}

TEST(Decode, RoundsToTheMillisecondBeforeSplittingOffTheDay)
{
    EXPECT_EQ(Decoded(0.9999999999), (TDecoded{1899, 12, 31, 0, 0, 0, 0}));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EncodeDate(2026, 12, 31) + 0.99999999999),
              "2027-01-01 00:00:00.000");
}

TEST(Decode, RejectsValuesOutsideTheYearsOneTo9999)
{
    int a, b, c, d;
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    for (const TDateTime value : {-693594.0, 2958466.0, 1e300, kNaN, -kInfinity}) {
        EXPECT_THROW(DecodeDate(value, a, b, c), TVandrelError) << value;
        EXPECT_THROW(DecodeTime(value, a, b, c, d), TVandrelError) << value;
        EXPECT_THROW(DayOfWeek(value), TVandrelError) << value;
    }
    EXPECT_NO_THROW(DecodeDate(-693593.5, a, b, c));
}

TEST(DayOfWeek, CountsFromSundayAsOne)
{
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 3, 8)), 1);
    EXPECT_EQ(DayOfWeek(kMorning), 4);
    EXPECT_EQ(DayOfWeek(-1.25), 6);
}

TEST(AddMonths, MovesIntoTheNextYearPastDecember)
{
    auto added = [](int year, int month, int k) {
        AddMonths(year, month, k);
        return std::pair{year, month};
    };
    EXPECT_EQ(added(2026, 11, 2), std::pair(2027, 1));
    EXPECT_EQ(added(2026, 10, 2), std::pair(2026, 12));
    EXPECT_EQ(added(2026, 3, 1), std::pair(2026, 4));
    EXPECT_EQ(added(2026, 12, 12), std::pair(2027, 12));
}

TEST(Now, IsAPresentDayDate)
{
    int year, month, day;
    DecodeDate(Now(), year, month, day);
    EXPECT_GE(year, 2025);
    EXPECT_LT(year, 2200);
}

TEST(FormatDateTime, WritesDateFieldsByTheLengthOfTheirRun)
{
    EXPECT_EQ(FormatDateTime("dd-mmm", kMorning), "04-Mar");
    EXPECT_EQ(FormatDateTime("d/m/yy", kMorning), "4/3/26");
    EXPECT_EQ(FormatDateTime("dddd d mmmm yyyy", kMorning), "Wednesday 4 March 2026");
    EXPECT_EQ(FormatDateTime("ddd dd mm yyy", kMorning), "Wed 04 03 2026");
    EXPECT_EQ(FormatDateTime("DDDDD Mmmmm Y", kMorning), "Wednesday March 26");
    EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(5, 1, 1)), "0005 05");
}

TEST(FormatDateTime, WritesTimeFieldsByTheLengthOfTheirRun)
{
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", kMorning), "2026-03-04 09:05:07.045");
    EXPECT_EQ(FormatDateTime("h:n:s.z", kMorning), "9:5:7.45");
    EXPECT_EQ(FormatDateTime("HH:NN:SS.ZZ", kMorning), "09:05:07.045");
}

TEST(FormatDateTime, ReadsMAfterAnHourAsMinutes)
{
    EXPECT_EQ(FormatDateTime("hh:mm", kMorning), "09:05");
    EXPECT_EQ(FormatDateTime("h m, dd/mm", kMorning), "9 5, 04/03");
    EXPECT_EQ(FormatDateTime("mm hh", kMorning), "03 09");
    EXPECT_EQ(FormatDateTime("hh'x'mm", kMorning), "09x05");
    // Any letter in between, or a month name, stays a month.
    EXPECT_EQ(FormatDateTime("hhtmm", kMorning), "09t03");
    EXPECT_EQ(FormatDateTime("hh mmm", kMorning), "09 Mar");
}

TEST(FormatDateTime, UsesTheTwelveHourClockWhenAnAmPmMarkerFollows)
{
    EXPECT_EQ(FormatDateTime("h:mm am/pm", At(13, 5)), "1:05 pm");
    EXPECT_EQ(FormatDateTime("hh:nn AM/PM", At(9, 5)), "09:05 AM");
    EXPECT_EQ(FormatDateTime("h Am/pM", At(13, 0)), "1 pM");
    EXPECT_EQ(FormatDateTime("h a/p", At(12, 0)), "12 p");
    EXPECT_EQ(FormatDateTime("h A/P", At(0, 30)), "12 A");
    EXPECT_EQ(FormatDateTime("h ampm", At(0, 30)), "12 AM");
    EXPECT_EQ(FormatDateTime("ampm", At(0, 30)), "AM");
    EXPECT_EQ(FormatDateTime("h:nn", At(13, 5)), "13:05");
    EXPECT_EQ(FormatDateTime("h 'am/pm'", At(13, 5)), "13 am/pm");
    EXPECT_EQ(FormatDateTime("h h am/pm", At(13, 5)), "13 1 pm");
}

TEST(FormatDateTime, CopiesQuotedAndOtherTextWithoutTheQuotes)
{
    EXPECT_EQ(FormatDateTime("hh 'o''clock'", At(9, 0)), "09 oclock");
    EXPECT_EQ(FormatDateTime("\"day\" d, 'it''s' [x]", kMorning), "day 4, its [x]");
    EXPECT_EQ(FormatDateTime("d 'open to the end", kMorning), "4 open to the end");
    EXPECT_EQ(FormatDateTime("", kMorning), "");
}

TEST(FormatDateTime, RejectsAValueOutsideTheCalendar)
{
    EXPECT_THROW(FormatDateTime("d", std::numeric_limits<double>::quiet_NaN()), TVandrelError);
}

}  // namespace
