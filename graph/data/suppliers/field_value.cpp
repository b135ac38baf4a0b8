#include "graph/data/suppliers/field_value.h"

#include <cmath>

#include <QDateTime>

#include "graph/data/suppliers/day_count.h"

bool FieldAsNumber(const QVariant& field, double& value)
{
    if (field.isNull())
        return false;
    switch (field.typeId()) {
    case QMetaType::QDate:
        return DayCountOf(field.toDate(), QTime(0, 0), value);
    case QMetaType::QDateTime: {
        const QDateTime dateTime = field.toDateTime();
        return DayCountOf(dateTime.date(), dateTime.time(), value);
    }
    case QMetaType::QTime:
        return DayCountOf(QDate(1899, 12, 30), field.toTime(), value);
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
