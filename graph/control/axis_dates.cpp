// Date/time axes: the nominal tick spacing, sizing to whole calendar units, and the
// first and following date ticks.

#include "graph/control/axis.h"
#include "graph/core/date_time.h"

namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kHour = 1.0 / 24.0;

// A date-time taken apart; milliseconds play no part in the rounding.
struct TMoment {
    int Year, Month, Day, Hour, Minute, Second;
    TDateTime Date; // the day at midnight

    explicit TMoment(TDateTime value)
    {
        int millisecond;
        DecodeDate(value, Year, Month, Day);
        DecodeTime(value, Hour, Minute, Second, millisecond);
        Date = EncodeDate(Year, Month, Day);
    }
    bool Midnight() const { return Hour == 0 && Minute == 0 && Second == 0; }
    bool NewYear() const { return Month == 1 && Day == 1 && Midnight(); }
};

TDateTime Time(int hour, int minute)
{
    return EncodeTime(hour, minute, 0, 0);
}

TDateTime FirstOfMonth(int year, int month)
{
    return EncodeDate(year, month, 1);
}

// The first multiple of `period` years not before `year`, on January 1.
TDateTime FirstPeriodStart(int year, int period)
{
    const int start = (year + period - 1) / period * period;
    return EncodeDate(start, 1, 1);
}

// The month a tick at or after the moment falls in, for ticks every `months` months
// starting in months 1, 1 + months, ...: the moment's month unless the moment is
// past its first midnight, then moved on to a month the period starts in.
TDateTime MonthTickAtOrAfter(const TMoment& moment, int months)
{
    int year = moment.Year, month = moment.Month;
    if (!(moment.Day == 1 && moment.Midnight()))
        AddMonths(year, month, 1);
    while ((month - 1) % months != 0)
        AddMonths(year, month, 1);
    return FirstOfMonth(year, month);
}

}  // namespace

double TAxis::GetDateStep() const
{
    switch (FDateTickType) {
    case dt_minute: return 1.0 / 1440;
    case dt_5minute: return 5.0 / 1440;
    case dt_halfhourly: return 1.0 / 48;
    case dt_hourly: return 1.0 / 24;
    case dt_daily: return 1;
    case dt_weekly: return 7;
    case dt_monthly: return 30;
    case dt_2monthly: return 61;
    case dt_quarterly: return 91;
    case dt_annually: return 365;
    case dt_decade: return 3654;
    case dt_century: return 36540;
    case dt_custom: return GetStep();
    }
    return 1;
}

void TAxis::SetDateMinMax()
{
    if (!(oMax - oMin > 0 && oMin >= 1))
        return;
    if (FDateTickType == dt_custom) {
        SetMinMax();
        return;
    }
    const TMoment first(oMin), last(oMax);
    switch (FDateTickType) {
    case dt_minute:
        FMin = first.Date + Time(first.Hour, first.Minute);
        FMax = last.Date + Time(last.Hour, last.Minute) + (last.Second != 0 ? kMinute : 0);
        break;
    case dt_5minute:
        FMin = first.Date + Time(first.Hour, 5 * (first.Minute / 5));
        if (last.Minute % 5 != 0 || last.Second != 0)
            FMax = last.Date + Time(last.Hour, 5 * (last.Minute / 5)) + 5 * kMinute;
        else
            FMax = last.Date + Time(last.Hour, last.Minute);
        break;
    case dt_halfhourly:
        FMin = first.Date + Time(first.Hour, first.Minute < 30 ? 0 : 30);
        if (last.Minute == 0 && last.Second == 0)
            FMax = last.Date + Time(last.Hour, 0);
        else if (last.Minute >= 30)
            FMax = last.Date + Time(last.Hour, 0) + kHour;
        else
            FMax = last.Date + Time(last.Hour, 30);
        break;
    case dt_hourly:
        FMin = first.Date + Time(first.Hour, 0);
        FMax = last.Date + Time(last.Hour, 0) + (last.Minute == 0 && last.Second == 0 ? 0 : kHour);
        break;
    case dt_daily:
        FMin = first.Date;
        FMax = last.Date + (last.Midnight() ? 0 : 1);
        break;
    case dt_weekly:
        FMin = first.Date - (DayOfWeek(first.Date) - 1);
        FMax = last.Date + 8 - DayOfWeek(last.Date);
        break;
    case dt_monthly:
    case dt_2monthly:
    case dt_quarterly: {
        const int months = FDateTickType == dt_monthly ? 1 : FDateTickType == dt_2monthly ? 2 : 3;
        int month = first.Month;
        while ((month - 1) % months != 0)
            --month;
        FMin = FirstOfMonth(first.Year, month);
        FMax = MonthTickAtOrAfter(last, months);
        break;
    }
    case dt_annually:
        FMin = EncodeDate(first.Year, 1, 1);
        FMax = EncodeDate(last.NewYear() ? last.Year : last.Year + 1, 1, 1);
        break;
    case dt_decade:
    case dt_century: {
        const int period = FDateTickType == dt_decade ? 10 : 100;
        FMin = EncodeDate(period * (first.Year / period), 1, 1);
        FMax = FirstPeriodStart(last.NewYear() ? last.Year : last.Year + 1, period);
        break;
    }
    case dt_custom:
        break;
    }
}

double TAxis::FirstDateTick() const
{
    const TMoment start(FMin);
    switch (FDateTickType) {
    case dt_minute:
        return start.Date + Time(start.Hour, start.Minute) + (start.Second != 0 ? kMinute : 0);
    case dt_5minute:
        if (start.Minute % 5 == 0 && start.Second == 0)
            return start.Date + Time(start.Hour, start.Minute);
        return start.Date + Time(start.Hour, 5 * (start.Minute / 5)) + 5 * kMinute;
    case dt_halfhourly:
        if (start.Minute == 0 && start.Second == 0)
            return start.Date + Time(start.Hour, 0);
        if (start.Minute >= 30)
            return start.Date + Time(start.Hour, 0) + kHour;
        return start.Date + Time(start.Hour, 30);
    case dt_hourly:
        return start.Date + Time(start.Hour, 0) + (start.Minute == 0 && start.Second == 0 ? 0 : kHour);
    case dt_daily:
        return start.Date + (start.Midnight() ? 0 : 1);
    case dt_weekly:
        return start.Date + 8 - DayOfWeek(start.Date);
    case dt_monthly:
        return MonthTickAtOrAfter(start, 1);
    case dt_2monthly:
        return MonthTickAtOrAfter(start, 2);
    case dt_quarterly:
        return MonthTickAtOrAfter(start, 3);
    case dt_annually:
        return EncodeDate(start.NewYear() ? start.Year : start.Year + 1, 1, 1);
    case dt_decade:
        return FirstPeriodStart(start.NewYear() ? start.Year : start.Year + 1, 10);
    case dt_century:
        return FirstPeriodStart(start.NewYear() ? start.Year : start.Year + 1, 100);
    case dt_custom:
        return FMin;
    }
    return 1.0;
}

double TAxis::NextDateTick(double tick) const
{
    const auto monthsLater = [tick](int months) {
        int year, month, day;
        DecodeDate(tick, year, month, day);
        AddMonths(year, month, months);
        return FirstOfMonth(year, month);
    };
    const auto yearsLater = [tick](int years) {
        int year, month, day;
        DecodeDate(tick, year, month, day);
        return EncodeDate(year + years, 1, 1);
    };
    switch (FDateTickType) {
    case dt_minute: return tick + kMinute;
    case dt_5minute: return tick + 5 * kMinute;
    case dt_halfhourly: return tick + 1.0 / 48;
    case dt_hourly: return tick + kHour;
    case dt_daily: return tick + 1;
    case dt_weekly: return tick + 7;
    case dt_monthly: return monthsLater(1);
    case dt_2monthly: return monthsLater(2);
    case dt_quarterly: return monthsLater(3);
    case dt_annually: return yearsLater(1);
    case dt_decade: return yearsLater(10);
    case dt_century: return yearsLater(100);
    case dt_custom: break;
    }
    return tick + FStepSize;
}
