#include "core/FrenchDates.h"

#include <QStringList>

namespace frdate {

QString shortDate(const QDate& date)
{
    return QString::asprintf("%02d/%02d/%04d", date.day(), date.month(), date.year());
}

QString longTime(const QTime& time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour(), time.minute(), time.second());
}

QString longMonthName(int month)
{
    static const char16_t* const names[12] = {u"janvier", u"février", u"mars",      u"avril",   u"mai",      u"juin",
                                              u"juillet", u"août",    u"septembre", u"octobre", u"novembre", u"décembre"};
    if (month < 1 || month > 12)
        return {};
    return QString::fromUtf16(names[month - 1]);
}

QString shortDayName(int dayOfWeekFromSunday)
{
    static const char* const names[7] = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
    if (dayOfWeekFromSunday < 0 || dayOfWeekFromSunday > 6)
        return {};
    return QString::fromLatin1(names[dayOfWeekFromSunday]);
}

QDate readShortDate(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    bool okD = false, okM = false, okY = false;
    const int d = parts[0].toInt(&okD);
    const int m = parts[1].toInt(&okM);
    int y = parts[2].toInt(&okY);
    if (!okD || !okM || !okY || parts[2].isEmpty())
        return {};
    if (parts[2].size() <= 2)
        y += 1900;
    return QDate(y, m, d);
}

} // namespace frdate
