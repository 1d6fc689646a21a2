#include "common/oledate.h"

#include "common/texts.h"

#include <QMutex>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace mv {

namespace {

const QDate kOleEpoch(1899, 12, 30);
constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kMsPerDay = kSecondsPerDay * 1000;

QMutex clockMutex;
std::optional<QDateTime> fixedClock;

// Splits an OLE date into its day and its time of day in whole units of `unitsPerDay`.
// The fraction counts forward from the day in absolute value, also for negative dates.
void splitOleDate(double oleDate, qint64 unitsPerDay, QDate* date, qint64* units)
{
    const double day = std::trunc(oleDate);
    qint64 time = std::llround(std::fabs(oleDate - day) * double(unitsPerDay));
    QDate d = kOleEpoch.addDays(qint64(day));
    if (time >= unitsPerDay) {
        d = d.addDays(1);
        time -= unitsPerDay;
    }
    *date = d;
    *units = time;
}

QString timeSuffix(int hours, int minutes, int seconds)
{
    if (hours == 0 && minutes == 0 && seconds == 0)
        return {};
    if (seconds != 0)
        return QString::asprintf("%d时%d分%d秒", hours, minutes, seconds);
    if (minutes != 0)
        return QString::asprintf("%d时%d分", hours, minutes);
    return QString::asprintf("%d时", hours);
}

QString dateOnlyText(const QDate& date)
{
    return QString::asprintf("%d年%d月%d日", date.year(), date.month(), date.day());
}

double dateAndTime(int year, int month, int day, int hours, int minutes, int seconds)
{
    const QDate date(year, month, day);
    if (!date.isValid() || hours > 23 || minutes > 59 || seconds > 59)
        return kNoDate;
    const double ole = toOleDate(QDateTime(date, QTime(hours, minutes, seconds)));
    if (ole < kNoDate || ole >= kMaxDate + 1.0)
        return kNoDate;
    return ole;
}

int capturedInt(const QRegularExpressionMatch& match, int group)
{
    return match.captured(group).isEmpty() ? 0 : match.captured(group).toInt();
}

} // namespace

double toOleDate(const QDateTime& dateTime)
{
    const qint64 days = kOleEpoch.daysTo(dateTime.date());
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

double toOleDate(const QDate& date)
{
    return double(kOleEpoch.daysTo(date));
}

QDateTime fromOleDate(double oleDate)
{
    if (!std::isfinite(oleDate))
        return {};
    QDate date;
    qint64 ms = 0;
    splitOleDate(oleDate, kMsPerDay, &date, &ms);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QString dateText(double oleDate)
{
    if (!std::isfinite(oleDate))
        return {};
    QDate date;
    qint64 seconds = 0;
    splitOleDate(oleDate, kSecondsPerDay, &date, &seconds);
    return dateOnlyText(date) +
           timeSuffix(int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
}

QString dateText(const QDateTime& dateTime)
{
    const QTime time = dateTime.time();
    return dateOnlyText(dateTime.date()) + timeSuffix(time.hour(), time.minute(), time.second());
}

QString dateText(const QDate& date)
{
    return dateOnlyText(date);
}

double datePart(double oleDate)
{
    return std::trunc(oleDate);
}

double textToDate(const QString& text)
{
    static const QRegularExpression chinese(
        QStringLiteral("^([0-9]{1,4})年([0-9]{1,2})月([0-9]{1,2})日(?:([0-9]{1,2})时)?(?:([0-9]{1,"
                       "2})分)?(?:([0-9]{1,2})秒)?$"));
    static const QRegularExpression numeric(
        QStringLiteral("^([0-9]{4})([-/])([0-9]{1,2})\\2([0-9]{1,2})"
                       "(?:[ T]([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?)?$"));

    const QString trimmed = foldFullWidth(text).trimmed();
    if (const auto m = chinese.match(trimmed); m.hasMatch()) {
        return dateAndTime(capturedInt(m, 1), capturedInt(m, 2), capturedInt(m, 3),
                           capturedInt(m, 4), capturedInt(m, 5), capturedInt(m, 6));
    }
    if (const auto m = numeric.match(trimmed); m.hasMatch()) {
        return dateAndTime(capturedInt(m, 1), capturedInt(m, 3), capturedInt(m, 4),
                           capturedInt(m, 5), capturedInt(m, 6), capturedInt(m, 7));
    }
    return kNoDate;
}

QDateTime clockNow()
{
    {
        QMutexLocker lock(&clockMutex);
        if (fixedClock)
            return *fixedClock;
    }
    return QDateTime::currentDateTime();
}

QDate clockToday()
{
    return clockNow().date();
}

void setClockForTests(const QDateTime& fixedNow)
{
    QMutexLocker lock(&clockMutex);
    if (fixedNow.isValid())
        fixedClock = fixedNow;
    else
        fixedClock.reset();
}

} // namespace mv
