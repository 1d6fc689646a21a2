#pragma once
// Date-times as OLE automation dates (days since 1899-12-30, time as the fraction) and the
// program's date text form "2010年1月5日" with the optional time suffix.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace mv {

// The day a text that is no date converts to: 100-01-01.
inline constexpr double kNoDate = -657434.0;
inline constexpr double kMaxDate = 2958465.0; // 9999-12-31

double toOleDate(const QDateTime& dateTime);
double toOleDate(const QDate& date);
QDateTime fromOleDate(double oleDate);

// "%d年%d月%d日", then "%d时%d分%d秒", "%d时%d分" or "%d时" when the time is not midnight.
QString dateText(double oleDate);
QString dateText(const QDateTime& dateTime);
QString dateText(const QDate& date);

// The date with its time set to 00:00:00.
double datePart(double oleDate);

// Reads "2010年1月5日[...时...分...秒]", ISO "2010-01-05[ hh:mm[:ss]]", "2010-1-5" and
// "2010/1/5"; anything else gives kNoDate.
double textToDate(const QString& text);

// Today's date and the current time from the program clock (settable by tests).
QDateTime clockNow();
QDate clockToday();
void setClockForTests(const QDateTime& fixedNow); // an invalid value returns to the real clock

} // namespace mv
