#include "graph/data/suppliers/field_value.h"

#include <cmath>

#include <QDateTime>

#include "graph/core/date_time.h"

namespace {

TDateTime DayFraction(const QTime& time)
{
    return EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

// Before day 0 the whole part counts back while the time still runs forward.
bool DateTimeNumber(const QDate& date, const QTime& time, double& value)
{
    // The day count covers the years 1 to 9999 only.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999 || !time.isValid())
        return false;
    const TDateTime day = EncodeDate(date.year(), date.month(), date.day());
    value = day < 0 ? day - DayFraction(time) : day + DayFraction(time);
    return true;
}

}  // namespace

bool FieldAsNumber(const QVariant& field, double& value)
{
    if (field.isNull())
        return false;
    switch (field.typeId()) {
    case QMetaType::QDate:
        return DateTimeNumber(field.toDate(), QTime(0, 0), value);
    case QMetaType::QDateTime: {
        const QDateTime dateTime = field.toDateTime();
        return DateTimeNumber(dateTime.date(), dateTime.time(), value);
    }
    case QMetaType::QTime:
        if (!field.toTime().isValid())
            return false;
        value = DayFraction(field.toTime());
        return true;
    default:
        break;
    }
    bool converted = false;
    const double number = field.toDouble(&converted);
    if (!converted || !std::isfinite(number))
        return false;
    value = number;
    return true;
}
