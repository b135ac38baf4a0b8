#include "graph/data/suppliers/day_count.h"

#include "graph/core/date_time.h"

bool DayCountOf(const QDate& date, const QTime& time, double& value)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999 || !time.isValid())
        return false;
    const TDateTime day = EncodeDate(date.year(), date.month(), date.day());
    const TDateTime fraction = EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
    value = day < 0 ? day - fraction : day + fraction;
    return true;
}
