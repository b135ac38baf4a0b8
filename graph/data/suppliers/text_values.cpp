#include "graph/data/suppliers/text_values.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "graph/data/suppliers/day_count.h"

namespace {

bool HasTwoDigitYear(const QString& format)
{
    return format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
}

// Qt reads two digits as a year of the 1900s; the window moves it so that recent
// and near-future years come out as a user means them.
int WindowedYear(int parsedYear)
{
    const int twoDigits = ((parsedYear % 100) + 100) % 100;
    const int first = QDate::currentDate().year() - 80;
    return first + ((twoDigits - first) % 100 + 100) % 100;
}

bool ReadIso(const QString& text, TDateTime& value)
{
    // Qt reads the date of "yyyy-MM-dd" followed by anything that does not begin
    // with a digit, and would drop the time after it.
    const QDate date = text.size() == 10 ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (date.isValid())
        return DayCountOf(date, QTime(0, 0), value);
    // As UTC first, so that no local time rule applies; a text with its own offset
    // only reads without the added zone.
    QDateTime dateTime = QDateTime::fromString(text + QLatin1Char('Z'), Qt::ISODateWithMs);
    if (!dateTime.isValid())
        dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    return dateTime.isValid() && DayCountOf(dateTime.date(), dateTime.time(), value);
}

}  // namespace

TNumberReader::TNumberReader(const QLocale& locale) : FLocale(locale)
{
    FLocale.setNumberOptions(FLocale.numberOptions() | QLocale::RejectGroupSeparator);
}

bool TNumberReader::Read(const QString& text, double& value) const
{
    bool ok = false;
    const double number = FLocale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

TDateTimeReader::TDateTimeReader(const QLocale& locale) : FLocale(locale)
{
    std::vector<std::pair<QString, bool>> dates; // format, two-digit year
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.dateFormat(type);
        const bool twoDigitYear = HasTwoDigitYear(format);
        if (twoDigitYear)
            dates.emplace_back(QString(format).replace(QLatin1String("yy"), QLatin1String("yyyy")), false);
        dates.emplace_back(format, twoDigitYear);
    }

    std::vector<QString> times;
    for (const QString& format : {locale.timeFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::LongFormat),
                                  QStringLiteral("H:mm"), QStringLiteral("H:mm:ss"), QStringLiteral("H:mm:ss.zzz")})
        if (!format.isEmpty() && std::find(times.begin(), times.end(), format) == times.end())
            times.push_back(format);

    auto add = [this](const QString& format, TKind kind, bool twoDigitYear) {
        const bool known = std::any_of(FPatterns.begin(), FPatterns.end(),
                                       [&](const TPattern& pattern) { return pattern.Format == format; });
        if (!format.isEmpty() && !known)
            FPatterns.push_back({format, kind, twoDigitYear});
    };
    for (const auto& [date, twoDigitYear] : dates) {
        add(date, TKind::DateTime, twoDigitYear);
        for (const QString& time : times)
            add(date + QLatin1Char(' ') + time, TKind::DateTime, twoDigitYear);
    }
    for (const QString& time : times)
        add(time, TKind::TimeOfDay, false);
}

bool TDateTimeReader::ReadWith(const TPattern& pattern, const QString& text, TDateTime& value) const
{
    if (pattern.Kind == TKind::TimeOfDay)
        return DayCountOf(QDate(1899, 12, 30), FLocale.toTime(text, pattern.Format), value);

    // Read against a fixed zone: in local time a time that daylight saving skips
    // does not exist, and Qt would refuse it.
    QDateTime dateTime;
    if (pattern.Format.contains(QLatin1Char('t')))
        dateTime = FLocale.toDateTime(text, pattern.Format);
    else
        dateTime = FLocale.toDateTime(text + QLatin1String(" UTC"), pattern.Format + QLatin1String(" t"));
    if (!dateTime.isValid())
        return false;
    QDate date = dateTime.date();
    if (pattern.TwoDigitYear)
        date = QDate(WindowedYear(date.year()), date.month(), date.day());
    return DayCountOf(date, dateTime.time(), value);
}

bool TDateTimeReader::ReadAt(std::size_t index, const QString& text, TDateTime& value) const
{
    return index < FPatterns.size() ? ReadWith(FPatterns[index], text, value) : ReadIso(text, value);
}

bool TDateTimeReader::Read(const QString& text, TDateTime& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (ReadAt(FLastHit, trimmed, value))
        return true;
    for (std::size_t i = 0; i <= FPatterns.size(); ++i)
        if (i != FLastHit && ReadAt(i, trimmed, value)) {
            FLastHit = i;
            return true;
        }
    return false;
}
