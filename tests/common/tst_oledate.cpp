// OLE automation dates, the date text form and the program clock.

#include "common/oledate.h"

#include <QTest>

using namespace mv;

class TestOleDate : public QObject
{
    Q_OBJECT
private slots:
    void convertsToAndFromOleDates();
    void negativeDatesCountTheTimeForward();
    void dateTextTimeVariants_data();
    void dateTextTimeVariants();
    void datePartDropsTheTime();
    void textToDateAccepts_data();
    void textToDateAccepts();
    void textToDateRefuses_data();
    void textToDateRefuses();
    void clockCanBeFixedForTests();
};

void TestOleDate::convertsToAndFromOleDates()
{
    QCOMPARE(toOleDate(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(toOleDate(QDate(2010, 1, 5)), 40183.0);
    QCOMPARE(toOleDate(QDateTime(QDate(2010, 1, 5), QTime(18, 0))), 40183.75);
    QCOMPARE(fromOleDate(40183.75), QDateTime(QDate(2010, 1, 5), QTime(18, 0)));
    QCOMPARE(fromOleDate(kNoDate).date(), QDate(100, 1, 1));
    QCOMPARE(fromOleDate(kMaxDate).date(), QDate(9999, 12, 31));
    const QDateTime withSeconds(QDate(2024, 2, 29), QTime(23, 59, 59));
    QCOMPARE(fromOleDate(toOleDate(withSeconds)), withSeconds);
}

void TestOleDate::negativeDatesCountTheTimeForward()
{
    // -1.25 is one day before the epoch, plus a quarter day: 1899-12-29 06:00.
    QCOMPARE(fromOleDate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(toOleDate(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    QCOMPARE(dateText(-1.25), QStringLiteral("1899年12月29日6时"));
}

void TestOleDate::dateTextTimeVariants_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight") << QTime(0, 0) << QStringLiteral("2010年1月5日");
    QTest::newRow("seconds") << QTime(10, 30, 15) << QStringLiteral("2010年1月5日10时30分15秒");
    QTest::newRow("minutes") << QTime(10, 30) << QStringLiteral("2010年1月5日10时30分");
    QTest::newRow("hours") << QTime(10, 0) << QStringLiteral("2010年1月5日10时");
    QTest::newRow("seconds only") << QTime(0, 0, 5) << QStringLiteral("2010年1月5日0时0分5秒");
    QTest::newRow("minutes only") << QTime(0, 5) << QStringLiteral("2010年1月5日0时5分");
}

void TestOleDate::dateTextTimeVariants()
{
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    const QDateTime dateTime(QDate(2010, 1, 5), time);
    QCOMPARE(dateText(dateTime), expected);
    QCOMPARE(dateText(toOleDate(dateTime)), expected);
}

void TestOleDate::datePartDropsTheTime()
{
    QCOMPARE(datePart(40183.75), 40183.0);
    QCOMPARE(datePart(40183.0), 40183.0);
    QCOMPARE(datePart(-1.25), -1.0);
    QCOMPARE(dateText(QDate(2010, 12, 31)), QStringLiteral("2010年12月31日"));
}

void TestOleDate::textToDateAccepts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const QDate day(2010, 1, 5);
    QTest::newRow("chinese") << QStringLiteral("2010年1月5日") << QDateTime(day, QTime(0, 0));
    QTest::newRow("chinese padded")
        << QStringLiteral("2010年01月05日") << QDateTime(day, QTime(0, 0));
    QTest::newRow("chinese hours")
        << QStringLiteral("2010年1月5日10时") << QDateTime(day, QTime(10, 0));
    QTest::newRow("chinese minutes")
        << QStringLiteral("2010年1月5日10时30分") << QDateTime(day, QTime(10, 30));
    QTest::newRow("chinese seconds")
        << QStringLiteral("2010年1月5日0时0分5秒") << QDateTime(day, QTime(0, 0, 5));
    QTest::newRow("iso") << QStringLiteral("2010-01-05") << QDateTime(day, QTime(0, 0));
    QTest::newRow("short dashes") << QStringLiteral("2010-1-5") << QDateTime(day, QTime(0, 0));
    QTest::newRow("slashes") << QStringLiteral("2010/1/5") << QDateTime(day, QTime(0, 0));
    QTest::newRow("with time") << QStringLiteral("2010-01-05 10:30")
                               << QDateTime(day, QTime(10, 30));
    QTest::newRow("with seconds") << QStringLiteral("2010-1-5 10:30:15")
                                  << QDateTime(day, QTime(10, 30, 15));
    QTest::newRow("iso T") << QStringLiteral("2010-01-05T10:30:15")
                           << QDateTime(day, QTime(10, 30, 15));
    QTest::newRow("surrounding blanks")
        << QStringLiteral(" 2010-01-05 ") << QDateTime(day, QTime(0, 0));
    QTest::newRow("leap day") << QStringLiteral("2024-02-29")
                              << QDateTime(QDate(2024, 2, 29), {0, 0});
}

void TestOleDate::textToDateAccepts()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(textToDate(text), toOleDate(expected));
    // The text form reads back to the same value.
    QCOMPARE(textToDate(dateText(expected)), toOleDate(expected));
}

void TestOleDate::textToDateRefuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("word") << QStringLiteral("abc");
    QTest::newRow("month 13") << QStringLiteral("2010-13-01");
    QTest::newRow("february 30") << QStringLiteral("2010-02-30");
    QTest::newRow("mixed separators") << QStringLiteral("2010-1/5");
    QTest::newRow("time only") << QStringLiteral("10:30");
    QTest::newRow("no day") << QStringLiteral("2010年1月");
    QTest::newRow("digits only") << QStringLiteral("20100105");
    QTest::newRow("hour 24") << QStringLiteral("2010-01-05 24:00");
    QTest::newRow("trailing text") << QStringLiteral("2010-01-05x");
}

void TestOleDate::textToDateRefuses()
{
    QFETCH(QString, text);
    QCOMPARE(textToDate(text), kNoDate);
}

void TestOleDate::clockCanBeFixedForTests()
{
    const QDateTime fixed(QDate(2010, 1, 5), QTime(9, 15));
    setClockForTests(fixed);
    QCOMPARE(clockNow(), fixed);
    QCOMPARE(clockToday(), QDate(2010, 1, 5));
    setClockForTests(QDateTime());
    const QDate before = QDate::currentDate();
    const QDate today = clockToday();
    QVERIFY(today >= before && today <= QDate::currentDate());
}

QTEST_GUILESS_MAIN(TestOleDate)
#include "tst_oledate.moc"
