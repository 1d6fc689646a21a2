// Stock figures: the balance rule, the one-pass list and summary against the per-item
// queries, the period rule, literal search, the movement list and the fill from ycl.

#include "common/reportlistmodel.h"
#include "db/builders.h"
#include "stock/itemunit.h"
#include "stock/monthlysummary.h"
#include "stock/movementlist.h"
#include "stock/stockbalance.h"
#include "stock/stocklist.h"
#include "stock/stocksearch.h"
#include "support/listtexts.h"
#include "support/tempdatastore.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>

using namespace mv;
using mv::test::TempDataStore;

namespace {

const QString in = QStringLiteral("入库");
const QString out = QStringLiteral("出库");

using mv::test::columnTexts;

// One stock line with the fields the figures read.
void line(TempDataStore& db, const QString& direction, const QString& date, const QString& name,
          const QString& model, const QVariant& quantity, const QString& category = u"铝材"_qs,
          const QString& unit = u"支"_qs, const QString& document = u"00000001"_qs,
          const QString& maker = u"admin"_qs)
{
    db.addLine(name, model, direction, quantity, date, category, unit, document, maker);
}

} // namespace

class TestStockFigures : public QObject
{
    Q_OBJECT
private slots:
    void balanceRule();
    void listRowsPerCategoryAndUnit();
    void onePassMatchesPerItem();
    void periodRule();
    void periodReadsOtherDateForms();
    void summaryReportsProgressWhileSumming();
    void dateFunctionGivesIsoText_data();
    void dateFunctionGivesIsoText();
    void searchMatchesLiterally();
    void movementList();
    void movementListKeepsStoredOrder();
    void itemsIgnoreLatinCase();
    void soleUnitOfAnItem();
    void fillFromYclAndDelete();
    void serverAndFileAgree();
};

void TestStockFigures::balanceRule()
{
    TempDataStore db;
    line(db, in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"10"_qs);
    line(db, in, u"2010-01-06"_qs, u"角铝"_qs, u"A1"_qs, 5);
    line(db, out, u"2010-01-07"_qs, u"角铝"_qs, u"A1"_qs, u"3"_qs);
    QCOMPARE(StockBalance(db.connection(), u"角铝"_qs, u"A1"_qs), 12);

    line(db, out, u"2010-01-07"_qs, u"玻璃"_qs, u"5mm"_qs, u"3"_qs);
    QCOMPARE(StockBalance(db.connection(), u"玻璃"_qs, u"5mm"_qs), -3);

    // Leading whole number only, full-width digits read as ASCII, nothing readable is 0.
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, u"2.9"_qs);
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, 2.9);
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, u"１２"_qs);
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, u"abc"_qs);
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, QVariant());
    line(db, in, u"2010-01-05"_qs, u"胶条"_qs, u"B"_qs, u" 7件"_qs);
    QCOMPARE(StockBalance(db.connection(), u"胶条"_qs, u"B"_qs), 2 + 2 + 12 + 7);

    // Another direction text counts for neither side; a quote in a name is just a character.
    line(db, u"调拨"_qs, u"2010-01-05"_qs, u"O'Neil"_qs, u"x'"_qs, u"100"_qs);
    line(db, in, u"2010-01-05"_qs, u"O'Neil"_qs, u"x'"_qs, u"4"_qs);
    QCOMPARE(StockBalance(db.connection(), u"O'Neil"_qs, u"x'"_qs), 4);
    QCOMPARE(StockBalance(db.connection(), u"不存在"_qs, u""_qs), 0);
}

void TestStockFigures::listRowsPerCategoryAndUnit()
{
    TempDataStore db;
    line(db, in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"10"_qs, u"铝材"_qs, u"支"_qs);
    line(db, in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"5"_qs, u"型材"_qs, u"支"_qs);
    line(db, out, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"1"_qs, u"铝材"_qs, u"米"_qs);

    ReportListModel list;
    RefreshStockList(db.connection(), list);
    QCOMPARE(list.columnCount(), int(StockColumnCount));
    QCOMPARE(list.columnTitle(StockColBalance), u"现存量"_qs);
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(columnTexts(list, StockColNumber), (QStringList{u"1"_qs, u"2"_qs, u"3"_qs}));
    // Every row of the same name and model shows the total over all of them.
    QCOMPARE(columnTexts(list, StockColBalance), (QStringList{u"14"_qs, u"14"_qs, u"14"_qs}));
    QCOMPARE(columnTexts(list, StockColCategory),
             (QStringList{u"型材"_qs, u"铝材"_qs, u"铝材"_qs}));
    QCOMPARE(columnTexts(list, StockColUnit), (QStringList{u"支"_qs, u"支"_qs, u"米"_qs}));
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(list.datum(r), qint64(0));
        QCOMPARE(list.text(r, StockColName), u"角铝"_qs);
        QCOMPARE(list.text(r, StockColModel), u"A1"_qs);
        QVERIFY(list.text(r, StockColRemark).isEmpty());
    }

    // A refill keeps the titles (sort marks included) and renumbers.
    list.setColumnTitle(StockColBalance, u"现存量△"_qs);
    RefreshStockList(db.connection(), list);
    QCOMPARE(list.columnTitle(StockColBalance), u"现存量△"_qs);
    QCOMPARE(list.rowCount(), 3);
}

void TestStockFigures::onePassMatchesPerItem()
{
    TempDataStore db;
    const QStringList names{u"角铝"_qs, u"玻璃"_qs, u"O'Neil"_qs, u"50%胶"_qs, u""_qs};
    const QStringList models{u"A1"_qs, u"5mm"_qs, u""_qs, u"x_y"_qs};
    const QList<QVariant> quantities{
        u"10"_qs, u"2.9"_qs, u"１２"_qs, u"abc"_qs,  u""_qs,         u" 7"_qs,         u"-3"_qs,
        4.7,      5,         -2.5,       QVariant(), u"３０００"_qs, u"3000000000"_qs, u"+8x"_qs};
    QRandomGenerator random(77);
    db.connection().begin();
    for (int i = 0; i < 400; ++i) {
        const QDate date = QDate(2010, 1, 1).addDays(random.bounded(90));
        line(db, random.bounded(3) ? in : out, date.toString(Qt::ISODate),
             names.at(random.bounded(names.size())), models.at(random.bounded(models.size())),
             quantities.at(random.bounded(quantities.size())),
             random.bounded(2) ? u"铝材"_qs : u"辅料"_qs);
    }
    db.connection().commit();

    ReportListModel list;
    RefreshStockList(db.connection(), list);
    QVERIFY(list.rowCount() > 20);
    for (int r = 0; r < list.rowCount(); ++r) {
        const QString name = list.text(r, StockColName);
        const QString model = list.text(r, StockColModel);
        QCOMPARE(list.text(r, StockColBalance),
                 QString::number(stockFigure(StockBalance(db.connection(), name, model))));
    }

    const QDate from(2010, 2, 1), to(2010, 2, 28);
    ReportListModel summary;
    int lastDone = -1, lastTotal = -1;
    BuildMonthlySummary(db.connection(), summary, from, to, [&](int done, int total) {
        lastDone = done;
        lastTotal = total;
    });
    QCOMPARE(summary.rowCount(), list.rowCount());
    QCOMPARE(lastDone, summary.rowCount());
    QCOMPARE(lastTotal, summary.rowCount());
    for (int r = 0; r < summary.rowCount(); ++r) {
        const QString name = summary.text(r, SummaryColName);
        const QString model = summary.text(r, SummaryColModel);
        const int balance = stockFigure(StockBalance(db.connection(), name, model));
        const int received = PeriodQuantity(db.connection(), name, model, in, from, to);
        const int issued = PeriodQuantity(db.connection(), name, model, out, from, to);
        QCOMPARE(summary.text(r, SummaryColCurrent), QString::number(balance));
        QCOMPARE(summary.text(r, SummaryColReceived), QString::number(received));
        QCOMPARE(summary.text(r, SummaryColIssued), QString::number(issued));
        QCOMPARE(summary.text(r, SummaryColOpening),
                 QString::number(stockFigure(qint64(balance) + issued - received)));
    }
}

void TestStockFigures::periodRule()
{
    TempDataStore db;
    line(db, in, u"2010-02-20"_qs, u"角铝"_qs, u"A1"_qs, u"10"_qs);
    line(db, in, u"2010-03-01"_qs, u"角铝"_qs, u"A1"_qs, u"5"_qs);
    line(db, out, u"2010-03-31"_qs, u"角铝"_qs, u"A1"_qs, u"3"_qs);
    const QDate from(2010, 3, 1), to(2010, 3, 31);

    ReportListModel summary;
    BuildMonthlySummary(db.connection(), summary, from, to);
    QCOMPARE(summary.columnTitle(SummaryColOpening), u"上月库存量"_qs);
    QCOMPARE(summary.rowCount(), 1);
    QCOMPARE(summary.cellTexts().at(0), (QStringList{u"1"_qs, u"铝材"_qs, u"角铝"_qs, u"A1"_qs,
                                                     u"10"_qs, u"12"_qs, u"3"_qs, u"5"_qs}));
    QCOMPARE(PeriodQuantity(db.connection(), u"角铝"_qs, u"A1"_qs, in, from, to), 5);
    QCOMPARE(PeriodQuantity(db.connection(), u"角铝"_qs, u"A1"_qs, out, from, to), 3);

    // Current stock counts movements after the end date too.
    line(db, in, u"2010-04-01"_qs, u"角铝"_qs, u"A1"_qs, u"4"_qs);
    BuildMonthlySummary(db.connection(), summary, from, to);
    QCOMPARE(summary.text(0, SummaryColCurrent), u"16"_qs);
    QCOMPARE(summary.text(0, SummaryColOpening), u"14"_qs);
    QCOMPARE(summary.text(0, SummaryColReceived), u"5"_qs);

    // A period typed back to front is refused, and the summary shown stays.
    const QueryOutcome reversed = BuildMonthlySummary(db.connection(), summary, to, from);
    QVERIFY(!reversed.done);
    QCOMPARE(reversed.message, u"统计的起始日期晚于结束日期，请重新选择日期！"_qs);
    QCOMPARE(summary.text(0, SummaryColCurrent), u"16"_qs);
}

void TestStockFigures::periodReadsOtherDateForms()
{
    // Lines imported from elsewhere may hold the dates in other text forms; they count by the
    // date they name. A time of day on the end date lies after the period.
    if (mv::test::onTestServer())
        QSKIP("imported Access files become SQLite files; the server holds ISO dates only");
    TempDataStore db;
    const QString name = u"角铝"_qs, model = u"A1"_qs;
    line(db, in, u"2010-3-6"_qs, name, model, u"1"_qs);
    line(db, in, u"2010/03/08"_qs, name, model, u"2"_qs);
    line(db, in, u"2010年3月7日"_qs, name, model, u"4"_qs);
    line(db, in, u"2010-03-01 08:00:00"_qs, name, model, u"8"_qs);
    line(db, in, u"2010年3月31日"_qs, name, model, u"16"_qs);
    line(db, in, u"2010-3-31 10:00"_qs, name, model, u"32"_qs);    // after the end date
    line(db, in, u"2010年3月31日10时"_qs, name, model, u"64"_qs);  // after the end date
    line(db, in, u"2010/2/28"_qs, name, model, u"128"_qs);         // before the period
    line(db, in, u"上周"_qs, name, model, u"256"_qs);              // no date
    line(db, out, u"2010-3-31 00:00:00"_qs, name, model, u"3"_qs); // midnight: the end date
    line(db, out, u"2010/4/1"_qs, name, model, u"5"_qs);
    const QDate from(2010, 3, 1), to(2010, 3, 31);

    const int received = 1 + 2 + 4 + 8 + 16;
    QCOMPARE(PeriodQuantity(db.connection(), name, model, in, from, to), received);
    QCOMPARE(PeriodQuantity(db.connection(), name, model, out, from, to), 3);
    ReportListModel summary;
    BuildMonthlySummary(db.connection(), summary, from, to);
    QCOMPARE(summary.rowCount(), 1);
    QCOMPARE(summary.text(0, SummaryColReceived), QString::number(received));
    QCOMPARE(summary.text(0, SummaryColIssued), u"3"_qs);
    QCOMPARE(summary.text(0, SummaryColCurrent), QString::number(511 - 8));

    // The stored texts are left as they were.
    auto stored = db.connection().query(u"SELECT 日期 FROM yclnote WHERE 数量='4'"_qs);
    QVERIFY(stored);
    QCOMPARE(stored->field(0), u"2010年3月7日"_qs);
}

void TestStockFigures::summaryReportsProgressWhileSumming()
{
    // 600 items with an in and an out line each, written in one statement.
    TempDataStore db;
    QStringList values;
    for (int i = 0; i < 600; ++i)
        for (const char* direction : {"入库", "出库"})
            values.append(u"('%1', '2010-03-05', '铝材', '角铝%2', 'M%2', '支', '3')"_qs.arg(
                QString::fromUtf8(direction), QString::number(i)));
    QVERIFY(db.connection().execute(
        u"INSERT INTO yclnote (正负, 日期, 分类, 原材料名字, 型号, 单位, 数量) VALUES "_qs +
        values.join(u',')));

    QList<int> reported;
    ReportListModel list;
    BuildMonthlySummary(db.connection(), list, QDate(2010, 3, 1), QDate(2010, 3, 31),
                        [&](int done, int total) {
                            QCOMPARE(total, 600);
                            reported.append(done);
                        });
    QCOMPARE(list.rowCount(), 600);
    QVERIFY(reported.size() >= 3);
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 600);
    // The bar moves while the database sums, and never backwards.
    QVERIFY(std::any_of(reported.begin(), reported.end(), [](int d) { return d > 0 && d < 600; }));
    QVERIFY(std::is_sorted(reported.begin(), reported.end()));
}

void TestStockFigures::dateFunctionGivesIsoText_data()
{
    QTest::addColumn<QString>("argument"); // an SQL expression
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("iso") << u"'2010-03-06'"_qs << QVariant(u"2010-03-06"_qs);
    QTest::newRow("short") << u"'2010-3-6'"_qs << QVariant(u"2010-03-06"_qs);
    QTest::newRow("slashes") << u"'2010/03/08'"_qs << QVariant(u"2010-03-08"_qs);
    QTest::newRow("chinese") << u"'2010年3月7日'"_qs << QVariant(u"2010-03-07"_qs);
    QTest::newRow("blanks") << u"' 2010-3-6 '"_qs << QVariant(u"2010-03-06"_qs);
    QTest::newRow("time") << u"'2010-3-31 10:05'"_qs << QVariant(u"2010-03-31 10:05:00"_qs);
    QTest::newRow("chinese time") << u"'2010年3月31日10时5分9秒'"_qs
                                  << QVariant(u"2010-03-31 10:05:09"_qs);
    QTest::newRow("midnight") << u"'2010-03-31 00:00:00'"_qs << QVariant(u"2010-03-31"_qs);
    QTest::newRow("no date") << u"'上周'"_qs << QVariant(u"上周"_qs);
    QTest::newRow("bad day") << u"'2010-2-30'"_qs << QVariant(u"2010-2-30"_qs);
    QTest::newRow("number") << u"42"_qs << QVariant(qlonglong(42));
    QTest::newRow("null") << u"NULL"_qs << QVariant();
}

void TestStockFigures::dateFunctionGivesIsoText()
{
    QFETCH(QString, argument);
    QFETCH(QVariant, expected);
    if (mv::test::onTestServer())
        QSKIP("mv_date() reads the dates of imported SQLite files; the server holds ISO dates");
    TempDataStore db;
    auto rs = db.connection().query(u"SELECT mv_date("_qs + argument + u")"_qs);
    QVERIFY2(rs, qPrintable(db.connection().lastError()));
    const QVariant value = rs->value(0);
    QCOMPARE(value.isNull(), expected.isNull());
    if (!expected.isNull()) {
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }
    // mv_between(x, low, high) answers as "mv_date(x) BETWEEN low AND high" does.
    for (const char* bounds : {"'2010-03-06', '2010-03-31'", "'2010-03-07', '2010-03-31'",
                               "'2010-03-01', '2010-03-31 10:05:00'", "'0', '9'"}) {
        const QString b = QString::fromLatin1(bounds);
        auto both = db.connection().query(u"SELECT mv_between("_qs + argument + u", "_qs + b +
                                          u"), mv_date("_qs + argument + u") BETWEEN "_qs +
                                          QString(b).replace(u", "_qs, u" AND "_qs));
        QVERIFY2(both, qPrintable(db.connection().lastError()));
        QCOMPARE(both->value(0), both->value(1));
    }
}

void TestStockFigures::searchMatchesLiterally()
{
    TempDataStore db;
    line(db, in, u"2010-01-05"_qs, u"50%铝"_qs, u"A"_qs, u"1"_qs);
    line(db, in, u"2010-01-05"_qs, u"505铝"_qs, u"B"_qs, u"2"_qs);
    line(db, in, u"2010-01-05"_qs, u"5_0"_qs, u"C"_qs, u"3"_qs);
    line(db, in, u"2010-01-05"_qs, u"O'Brien"_qs, u"D"_qs, u"4"_qs);
    line(db, out, u"2010-01-05"_qs, u"O'Brien"_qs, u"D"_qs, u"1"_qs, u"辅料"_qs);
    db.connection().execute(
        u"INSERT INTO yclnote (正负, 分类, 原材料名字, 数量) VALUES ('入库', '铝材', '无型号', '9')"_qs);

    ReportListModel list;
    SearchStock(db.connection(), list, StockSearchField::Name, u"%"_qs);
    QCOMPARE(columnTexts(list, StockColName), QStringList{u"50%铝"_qs});
    SearchStock(db.connection(), list, StockSearchField::Name, u"_"_qs);
    QCOMPARE(columnTexts(list, StockColName), QStringList{u"5_0"_qs});

    // A quote is matched, not a broken statement, and spaces typed around the text are not
    // looked for; each category row shows the full stock.
    SearchStock(db.connection(), list, StockSearchField::Name, u" 'Br\u3000"_qs);
    QCOMPARE(columnTexts(list, StockColName), (QStringList{u"O'Brien"_qs, u"O'Brien"_qs}));
    QCOMPARE(columnTexts(list, StockColBalance), (QStringList{u"3"_qs, u"3"_qs}));
    QCOMPARE(columnTexts(list, StockColNumber), (QStringList{u"1"_qs, u"2"_qs}));

    // An empty text lists every item whose searched column is not NULL.
    SearchStock(db.connection(), list, StockSearchField::Model, QString());
    QCOMPARE(list.rowCount(), 5);
    SearchStock(db.connection(), list, StockSearchField::Category, QString());
    QCOMPARE(list.rowCount(), 6);

    SearchStock(db.connection(), list, StockSearchField::Category, u"没有"_qs);
    QCOMPARE(list.rowCount(), 0);
}

void TestStockFigures::movementList()
{
    TempDataStore db;
    line(db, in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"10"_qs, u"铝材"_qs, u"支"_qs,
         u"00000007"_qs, u"张三"_qs);
    line(db, out, u"上周"_qs, u"角铝"_qs, u"A1"_qs, u"3"_qs);
    line(db, out, u"2010-01-06"_qs, u"角铝"_qs, u"A2"_qs, u"3"_qs);
    line(db, in, u"2010-01-04"_qs, u"角铝"_qs, u"A1"_qs, u"2"_qs); // entered late

    ReportListModel list;
    FillMovementList(db.connection(), list, u"角铝"_qs, u"A1"_qs);
    QCOMPARE(list.columnTitle(4), u"时间"_qs);
    QCOMPARE(list.rowCount(), 3);
    // In the order of their dates, a line without one last.
    QCOMPARE(list.text(0, 4), u"2010年1月4日"_qs);
    QCOMPARE(list.cellTexts().at(1),
             (QStringList{u"入库"_qs, u"10"_qs, u"00000007"_qs, u"张三"_qs, u"2010年1月5日"_qs}));
    QCOMPARE(list.text(2, 4), u"上周"_qs);
}

void TestStockFigures::movementListKeepsStoredOrder()
{
    TempDataStore db;
    QStringList entered;
    for (int i = 0; i < 12; ++i) {
        const QString number = QString::number(100 + i);
        line(db, i % 3 == 1 ? out : in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, number);
        line(db, in, u"2010-01-05"_qs, u"玻璃"_qs, u"A1"_qs, u"1"_qs);
        entered.append(number);
    }
    ReportListModel list;
    FillMovementList(db.connection(), list, u"角铝"_qs, u"A1"_qs);
    QCOMPARE(columnTexts(list, 1), entered);
}

void TestStockFigures::itemsIgnoreLatinCase()
{
    TempDataStore db;
    line(db, in, u"2010-03-02"_qs, u"Alu角"_qs, u"ZS-01"_qs, u"10"_qs);
    line(db, out, u"2010-03-03"_qs, u"Alu角"_qs, u"ZS-01"_qs, u"9"_qs);
    line(db, out, u"2010-03-04"_qs, u"ALU角"_qs, u"zs-01"_qs, u"4"_qs, u"铝材"_qs, u"支"_qs);
    line(db, in, u"2010-04-01"_qs, u"alu角"_qs, u"Zs-01"_qs, u"3"_qs, u"铝材"_qs, u"支"_qs);
    // Only Latin letters fold: full-width letters stay apart, as in the database.
    line(db, in, u"2010-03-02"_qs, u"Alu角"_qs, u"ｚs-01"_qs, u"7"_qs);

    ReportListModel list;
    RefreshStockList(db.connection(), list);
    QCOMPARE(list.cellTexts(),
             (QList<QStringList>{
                 {u"1"_qs, u"铝材"_qs, u"Alu角"_qs, u"ZS-01"_qs, u"0"_qs, u"支"_qs, QString()},
                 {u"2"_qs, u"铝材"_qs, u"Alu角"_qs, u"ｚs-01"_qs, u"7"_qs, u"支"_qs, QString()}}));
    QCOMPARE(StockBalance(db.connection(), u"alu角"_qs, u"zS-01"_qs), 0);

    SearchStock(db.connection(), list, StockSearchField::Model, u"zs-0"_qs);
    QCOMPARE(columnTexts(list, StockColBalance), QStringList{u"0"_qs});

    ReportListModel summary;
    BuildMonthlySummary(db.connection(), summary, QDate(2010, 3, 1), QDate(2010, 3, 31));
    QCOMPARE(summary.rowCount(), 2);
    QCOMPARE(summary.cellTexts().at(0), (QStringList{u"1"_qs, u"铝材"_qs, u"Alu角"_qs, u"ZS-01"_qs,
                                                     u"3"_qs, u"0"_qs, u"13"_qs, u"10"_qs}));
    QCOMPARE(PeriodQuantity(db.connection(), u"ALU角"_qs, u"ZS-01"_qs, out, QDate(2010, 3, 1),
                            QDate(2010, 3, 31)),
             13);

    ReportListModel movements;
    FillMovementList(db.connection(), movements, u"aLU角"_qs, u"zs-01"_qs);
    QCOMPARE(columnTexts(movements, 1), (QStringList{u"10"_qs, u"9"_qs, u"4"_qs, u"3"_qs}));

    // The item table compares its texts the same way.
    db.connection().execute(u"INSERT INTO ycl VALUES (4, '铝材', 'alu角', 'zs-01', '支')"_qs);
    FillStockListFromYcl(db.connection(), list, 1);
    QCOMPARE(columnTexts(list, StockColBalance), QStringList{u"0"_qs});
}

void TestStockFigures::soleUnitOfAnItem()
{
    TempDataStore db;
    line(db, in, u"2010-03-02"_qs, u"Alu角"_qs, u"ZS-01"_qs, 5, u"铝材"_qs, u"支"_qs);
    line(db, out, u"2010-03-03"_qs, u"Alu角"_qs, u"ZS-01"_qs, 2, u"铝材"_qs, QString());
    line(db, in, u"2010-03-02"_qs, u"Alu角"_qs, u"ZS-02"_qs, 5, u"铝材"_qs, u"支"_qs);
    line(db, in, u"2010-03-02"_qs, u"Alu角"_qs, u"ZS-02"_qs, 5, u"铝材"_qs, u"根"_qs);
    // A line without a unit does not count against the one unit the others agree on; two
    // units leave the choice to the clerk; an item never stored has none.
    QCOMPARE(soleItemUnit(db.connection(), u"alu角"_qs, u"zs-01"_qs), u"支"_qs);
    QCOMPARE(soleItemUnit(db.connection(), u"Alu角"_qs, u"ZS-02"_qs), QString());
    QCOMPARE(soleItemUnit(db.connection(), u"Alu角"_qs, QString()), QString());
}

void TestStockFigures::fillFromYclAndDelete()
{
    TempDataStore db;
    line(db, in, u"2010-01-05"_qs, u"角铝"_qs, u"A1"_qs, u"10"_qs);
    db.connection().execute(u"INSERT INTO ycl VALUES (7, '型材', '角铝', 'A1', '支')"_qs);
    db.connection().execute(u"INSERT INTO ycl VALUES (3, '辅料', '玻璃', '5mm', '块')"_qs);

    ReportListModel list;
    FillStockListFromYcl(db.connection(), list, 1);
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(list.cellTexts().at(0), (QStringList{u"1"_qs, u"型材"_qs, u"角铝"_qs, u"A1"_qs,
                                                  u"10"_qs, u"支"_qs, QString()}));
    QCOMPARE(list.datum(0), qint64(7));
    QCOMPARE(list.datum(1), qint64(3));

    FillStockListFromYcl(db.connection(), list, 2);
    QCOMPARE(columnTexts(list, StockColName), (QStringList{u"玻璃"_qs, u"角铝"_qs}));
    QCOMPARE(list.datum(0), qint64(3));
    FillStockListFromYcl(db.connection(), list, 3);
    QCOMPARE(list.rowCount(), 2);

    QCOMPARE(DeleteStockRowByDatum(db.connection(), 3).value_or(-1), 1);
    FillStockListFromYcl(db.connection(), list, 1);
    QCOMPARE(columnTexts(list, StockColName), QStringList{u"角铝"_qs});
}

// The same lines on the server and in an SQLite file give the same stock list and summary,
// whatever the quantities hold; sums beyond the int range are clamped alike.
void TestStockFigures::serverAndFileAgree()
{
    if (!mv::test::onTestServer())
        QSKIP("compares the server with the file");
    TempDataStore server;
    QTemporaryDir directory;
    Connection file;
    QString error;
    QVERIFY2(openDataStore(file, directory.path(), {}, &error), qPrintable(error));

    const QStringList quantities{u" 12"_qs,        u"１２"_qs,       u"-5"_qs,
                                 u"1e3"_qs,        u"abc"_qs,        u""_qs,
                                 u"NULL"_qs,       u"2.9"_qs,        u"+7x"_qs,
                                 u"　４"_qs,       u"－３"_qs,       u"0012"_qs,
                                 u"12３4"_qs,      u"- 5"_qs,        u"\t8"_qs,
                                 u"999999999"_qs,  u"1000000000"_qs, u"98765432109876543210"_qs,
                                 u"-3000000000"_qs};
    const QStringList names{u"角铝"_qs, u"Pipe"_qs, u"PIPE"_qs, u"O'Neil"_qs};
    QRandomGenerator random(21);
    QStringList values;
    for (int i = 0; i < 300; ++i) {
        const QString quantity = quantities.at(random.bounded(quantities.size()));
        const QDate date = QDate(2010, 2, 20).addDays(random.bounded(20));
        values.append(u"("_qs + sqlQuoted(random.bounded(3) ? in : out) + u", "_qs +
                      sqlQuoted(date.toString(Qt::ISODate)) + u", "_qs +
                      sqlQuoted(random.bounded(2) ? u"铝材"_qs : u"辅料"_qs) + u", "_qs +
                      sqlQuoted(names.at(random.bounded(names.size()))) + u", "_qs +
                      sqlQuoted(random.bounded(2) ? u"A1"_qs : u"a1"_qs) + u", '支', "_qs +
                      (quantity == u"NULL"_qs ? quantity : sqlQuoted(quantity)) + u')');
    }
    const QString insert =
        u"INSERT INTO yclnote (正负, 日期, 分类, 原材料名字, 型号, 单位, 数量) VALUES "_qs +
        values.join(u", "_qs);
    QVERIFY2(server.connection().execute(insert), qPrintable(server.connection().lastError()));
    QVERIFY2(file.execute(insert), qPrintable(file.lastError()));

    ReportListModel onServer, onFile;
    QVERIFY(RefreshStockList(server.connection(), onServer).done);
    QVERIFY(RefreshStockList(file, onFile).done);
    QVERIFY(onFile.rowCount() >= 4);
    QCOMPARE(onServer.cellTexts(), onFile.cellTexts());
    // A clamped sum shows: the overlong quantities outweigh everything else.
    QVERIFY(columnTexts(onFile, StockColBalance).contains(u"2147483647"_qs) ||
            columnTexts(onFile, StockColBalance).contains(u"-2147483648"_qs));

    const QDate from(2010, 3, 1), to(2010, 3, 31);
    ReportListModel serverSummary, fileSummary;
    QVERIFY(BuildMonthlySummary(server.connection(), serverSummary, from, to).done);
    QVERIFY(BuildMonthlySummary(file, fileSummary, from, to).done);
    QCOMPARE(serverSummary.cellTexts(), fileSummary.cellTexts());
}

QTEST_GUILESS_MAIN(TestStockFigures)
#include "tst_stockfigures.moc"
