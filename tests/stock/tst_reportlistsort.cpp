// Report list sorting: the result texts, the order of equal keys, the key conversions, and
// the fast order compared with a literal transcription of the selection it replaces.

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"
#include "stock/reportlistsort.h"
#include "stock/stockheaderclick.h"
#include "support/listtexts.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <numeric>

using namespace mv;

namespace {

// The selection exactly as the list sort was first written: repeatedly pick the best of the
// remaining entries, taking a candidate on equality too, and remove it.
QList<int> selectionOrder(const QStringList& keys, bool ascending, int caseFlag, int keyType)
{
    struct Entry
    {
        QString key;
        QByteArray bytes;
        int row;
    };
    QList<Entry> entries;
    for (int r = 0; r < keys.size(); ++r)
        entries.append(Entry{keys.at(r), gbkBytes(keys.at(r)), r});
    auto date = [](const QString& text) {
        double d = std::clamp(textToDate(text), -657434.0, 2958465.0);
        return d < 0 ? 2 * std::trunc(d) - d : d;
    };
    QList<int> order;
    while (entries.size() >= 2) {
        Entry best = entries.at(0);
        qsizetype position = 0;
        for (qsizetype i = 1; i < entries.size(); ++i) {
            Entry& candidate = entries[i];
            bool take = false;
            if (keyType == 10) {
                QByteArray a = best.bytes;
                if (!(caseFlag & 1)) {
                    a = upperGbk(a);
                    candidate.bytes = upperGbk(candidate.bytes);
                }
                const int c = compareBytes(a, candidate.bytes);
                take = ascending ? c >= 0 : c <= 0;
            } else if (keyType == 8) {
                const double a = date(best.key), b = date(candidate.key);
                take = ascending ? b <= a : a <= b;
            } else {
                const double a = toNumber(best.key), b = toNumber(candidate.key);
                take = ascending ? a - b >= -1e-7 : a - b <= 1e-7;
            }
            if (take) {
                best = candidate;
                position = i;
            }
        }
        order.append(best.row);
        entries.removeAt(position);
    }
    if (!entries.isEmpty())
        order.append(entries.at(0).row);
    return order;
}

// A two-column list: column 0 the keys, column 1 the original row number; datum = row.
void fill(ReportListModel& list, const QStringList& keys)
{
    list.setColumns({{u"键"_qs}, {u"行"_qs}});
    QList<ReportRow> rows;
    for (int r = 0; r < keys.size(); ++r)
        rows.append(ReportRow{{keys.at(r), QString::number(r)}, r, Qt::Unchecked});
    list.setRows(rows);
}

using mv::test::columnTexts;

} // namespace

class TestReportListSort : public QObject
{
    Q_OBJECT
private slots:
    void rejectsBeforeChangingAnything();
    void textKeysUseGbkBytes();
    void equalKeysLeaveReversed();
    void numberAndDateKeys();
    void rowsMoveWhole();
    void smallLists();
    void matchesSelectionOnRandomKeys_data();
    void matchesSelectionOnRandomKeys();
    void matchesSelectionOnLongLists();
    void ordersVeryLongListsLikeTheRule();
    void sortsLongListsInPlace();
    void reorderRejectsBadOrders();
    void headerClicksAlternateAndMark();
};

void TestReportListSort::rejectsBeforeChangingAnything()
{
    ReportListModel list;
    fill(list, {u"b"_qs, u"a"_qs});
    QCOMPARE(SortReportList(list, 0, 1, {}, {}, 1), u"该超级列表框不是报表类型"_qs);
    QCOMPARE(SortReportList(list, -1), u"错误的列索引"_qs);
    QCOMPARE(SortReportList(list, 2), u"错误的列索引"_qs);
    QCOMPARE(SortReportList(list, 0, 1, 0, 7), u"排序类型不对"_qs);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"b"_qs, u"a"_qs}));
    QCOMPARE(SortReportList(list, 1, 1, 0, 3), u"排序完成"_qs);
}

void TestReportListSort::textKeysUseGbkBytes()
{
    ReportListModel list;
    // Numbers compared as text order by their characters.
    fill(list, {u"9"_qs, u"10"_qs, u"100"_qs});
    QCOMPARE(SortReportList(list, 0, 0), u"排序完成"_qs);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"9"_qs, u"100"_qs, u"10"_qs}));

    // GBK orders 啊 (B0A1) before 中 (D6D0) although Unicode has them the other way round;
    // ASCII comes before every double-byte character.
    fill(list, {u"中"_qs, u"啊"_qs, u"Z"_qs});
    SortReportList(list, 0);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"Z"_qs, u"啊"_qs, u"中"_qs}));

    fill(list, {u"a"_qs, u"B"_qs});
    SortReportList(list, 0, 1, 1);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"B"_qs, u"a"_qs}));
    SortReportList(list, 0, 1, 0);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"a"_qs, u"B"_qs}));

    // A text that ends first is the smaller, also where the longer one goes on with NUL
    // characters, before and after the sixteenth byte.
    const QString nul(QChar(0));
    const QString sixteen = u"0123456789abcdef"_qs;
    const QStringList keys{
        u"A"_qs + nul,     u"A"_qs,          u"A"_qs + nul + nul + u"B"_qs, sixteen + nul, sixteen,
        sixteen + u"x"_qs, sixteen.left(15), sixteen.left(15) + nul};
    for (bool ascending : {true, false})
        QCOMPARE(sortedRowOrder(keys, ascending, 1, SortKeyText),
                 selectionOrder(keys, ascending, 1, SortKeyText));
}

void TestReportListSort::equalKeysLeaveReversed()
{
    ReportListModel list;
    fill(list, {u"A"_qs, u"b"_qs, u"a"_qs});
    SortReportList(list, 0, 1);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"a"_qs, u"A"_qs, u"b"_qs}));
    QCOMPARE(columnTexts(list, 1), (QStringList{u"2"_qs, u"0"_qs, u"1"_qs}));

    // Sorting twice in the same direction reverses the runs of equal keys again.
    fill(list, {u"x"_qs, u"x"_qs, u"y"_qs, u"x"_qs});
    SortReportList(list, 0, 1);
    QCOMPARE(columnTexts(list, 1), (QStringList{u"3"_qs, u"1"_qs, u"0"_qs, u"2"_qs}));
    SortReportList(list, 0, 1);
    QCOMPARE(columnTexts(list, 1), (QStringList{u"0"_qs, u"1"_qs, u"3"_qs, u"2"_qs}));
    SortReportList(list, 0, 0);
    QCOMPARE(columnTexts(list, 1), (QStringList{u"2"_qs, u"3"_qs, u"1"_qs, u"0"_qs}));
}

void TestReportListSort::numberAndDateKeys()
{
    ReportListModel list;
    fill(list, {u"100"_qs, u"9"_qs, u"abc"_qs, u"10"_qs, u"－２"_qs});
    SortReportList(list, 0, 1, 0, 6);
    QCOMPARE(columnTexts(list, 0),
             (QStringList{u"－２"_qs, u"abc"_qs, u"9"_qs, u"10"_qs, u"100"_qs}));
    SortReportList(list, 0, 0, 0, 3);
    QCOMPARE(columnTexts(list, 0),
             (QStringList{u"100"_qs, u"10"_qs, u"9"_qs, u"abc"_qs, u"－２"_qs}));

    // A text that is no date sorts as 100-01-01; before 1899-12-30 the time of day still
    // orders later times after earlier ones.
    fill(list, {u"2010年1月5日"_qs, u"无日期"_qs, u"1850-06-01 18:00"_qs, u"1850-06-01 06:00"_qs,
                u"2009-12-31"_qs});
    SortReportList(list, 0, 1, 0, 8);
    QCOMPARE(columnTexts(list, 1), (QStringList{u"1"_qs, u"3"_qs, u"2"_qs, u"4"_qs, u"0"_qs}));
    QVERIFY(dateSortKey(u"1850-06-01 06:00"_qs) < dateSortKey(u"1850-06-01 18:00"_qs));
    QCOMPARE(dateSortKey(u"x"_qs), -657434.0);
}

// A row's datum (the record it shows) and tick move with its texts.
void TestReportListSort::rowsMoveWhole()
{
    ReportListModel list;
    list.setCheckable(true);
    fill(list, {u"c"_qs, u"a"_qs, u"b"_qs});
    list.setCheckState(0, Qt::Checked);
    SortReportList(list, 0, 1);
    QCOMPARE(columnTexts(list, 0), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    for (int r = 0; r < 3; ++r)
        QCOMPARE(list.datum(r), list.text(r, 1).toLongLong());
    QCOMPARE(list.checkState(0), Qt::Unchecked);
    QCOMPARE(list.checkState(2), Qt::Checked);
}

void TestReportListSort::smallLists()
{
    ReportListModel list;
    fill(list, {});
    QCOMPARE(SortReportList(list, 1), u"排序完成"_qs);
    QCOMPARE(list.rowCount(), 0);
    fill(list, {u"只有一行"_qs});
    QCOMPARE(SortReportList(list, 0, 0), u"排序完成"_qs);
    QCOMPARE(columnTexts(list, 0), QStringList{u"只有一行"_qs});
}

void TestReportListSort::matchesSelectionOnRandomKeys_data()
{
    QTest::addColumn<int>("keyType");
    QTest::addColumn<QStringList>("pool");
    QTest::newRow("text") << 10 << QStringList{u"a"_qs,  u"A"_qs,    u"b"_qs,  u"ab"_qs, u"Ab"_qs,
                                               u"中"_qs, u"中文"_qs, u"啊"_qs, u""_qs,   u"ａ"_qs};
    // Values within the tolerance of each other chain up (0, 0.5e-7, 1e-7, 1.5e-7 ...), so
    // "equal" is not transitive; infinities never compare equal.
    QTest::newRow("number") << 6 << QStringList{u"0"_qs,          u"0.00000005"_qs, u"0.0000001"_qs,
                                                u"0.00000015"_qs, u"0.0000002"_qs,  u"1"_qs,
                                                u"1.00000009"_qs, u"abc"_qs,        u"-0"_qs,
                                                u"1e999"_qs,      u"-1e999"_qs,     u"２"_qs};
    QTest::newRow("date") << 8
                          << QStringList{u"2010-01-05"_qs,
                                         u"2010年1月5日"_qs,
                                         u"2010年1月5日3时"_qs,
                                         u"1850-06-01 12:00"_qs,
                                         u"1850-06-01 06:00"_qs,
                                         u"1850-06-01"_qs,
                                         u"x"_qs,
                                         u""_qs,
                                         u"1899-12-30"_qs,
                                         u"9999-12-31"_qs};
}

void TestReportListSort::matchesSelectionOnRandomKeys()
{
    QFETCH(int, keyType);
    QFETCH(QStringList, pool);
    QRandomGenerator random(20240607u + quint32(keyType));
    for (int round = 0; round < 400; ++round) {
        const int n = int(random.bounded(40));
        // Some rounds draw from a small part of the pool to get long runs of equal keys.
        const int spread = int(random.bounded(1, int(pool.size()) + 1));
        QStringList keys;
        for (int i = 0; i < n; ++i)
            keys.append(pool.at(int(random.bounded(spread))));
        for (bool ascending : {true, false})
            for (int caseFlag : {0, 1}) {
                const QList<int> expected = selectionOrder(keys, ascending, caseFlag, keyType);
                const QList<int> actual = sortedRowOrder(keys, ascending, caseFlag, keyType);
                if (actual != expected)
                    qWarning() << "keys" << keys << "ascending" << ascending << "case" << caseFlag;
                QCOMPARE(actual, expected);
            }
    }
}

void TestReportListSort::matchesSelectionOnLongLists()
{
    // Keys built from pieces with long shared prefixes, mixed case and double-byte
    // characters, many of them equal.
    const QStringList pieces{u"Profile"_qs, u"profile"_qs, u"角铝"_qs, u"中空玻璃"_qs, u"1"_qs,
                             u"12"_qs,      u"a"_qs,       u"B"_qs,    u""_qs,         u"ｘ"_qs};
    QRandomGenerator random(4711);
    for (int round = 0; round < 12; ++round) {
        QStringList keys;
        const int n = int(random.bounded(100, 600));
        for (int i = 0; i < n; ++i) {
            QString key;
            const int parts = int(random.bounded(round % 4 + 1));
            for (int p = 0; p < parts; ++p)
                key += pieces.at(int(random.bounded(pieces.size())));
            keys.append(key);
        }
        for (bool ascending : {true, false})
            for (int caseFlag : {0, 1})
                QCOMPARE(sortedRowOrder(keys, ascending, caseFlag, SortKeyText),
                         selectionOrder(keys, ascending, caseFlag, SortKeyText));
    }
}

void TestReportListSort::ordersVeryLongListsLikeTheRule()
{
    // The selection itself would take too long here, but for texts its order is the stable order of
    // the reversed list by the upper-cased code-page-936 bytes, which the standard library gives
    // directly.
    const QStringList pieces{u"角铝"_qs, u"中空玻璃"_qs, u"Profile"_qs, u"gasket"_qs,
                             u"1"_qs,    u"23"_qs,       u"a"_qs,       u"合页"_qs};
    QRandomGenerator random(99);
    QStringList keys;
    for (int i = 0; i < 30000; ++i) {
        QString key;
        for (int p = int(random.bounded(1, 5)); p > 0; --p)
            key += pieces.at(int(random.bounded(pieces.size())));
        keys.append(key);
    }
    for (bool ascending : {true, false}) {
        std::vector<int> reference(size_t(keys.size()));
        std::iota(reference.rbegin(), reference.rend(), 0); // n-1 .. 0
        std::vector<QByteArray> bytes;
        for (const QString& key : keys)
            bytes.push_back(upperGbk(gbkBytes(key)));
        std::stable_sort(reference.begin(), reference.end(), [&](int a, int b) {
            const int c = compareBytes(bytes[size_t(a)], bytes[size_t(b)]);
            return ascending ? c < 0 : c > 0;
        });
        QCOMPARE(sortedRowOrder(keys, ascending, 0, SortKeyText),
                 QList<int>(reference.begin(), reference.end()));
    }
}

void TestReportListSort::sortsLongListsInPlace()
{
    // The list sort reads its keys from the rows themselves: a row with fewer cells than the
    // sorted column has an empty key. Characters outside the basic plane are encoded too.
    const QStringList pool{u"角铝12"_qs,  u"角铝1"_qs, u"Profile"_qs, u"profile"_qs, u"中空玻璃"_qs,
                           u"gasket7"_qs, u""_qs,      u"笑😀"_qs,     u"😀b"_qs};
    QRandomGenerator random(99);
    QStringList keys;
    QList<ReportRow> rows;
    for (int r = 0; r < 300; ++r) {
        const bool shortRow = random.bounded(10) == 0;
        const QString key = shortRow ? QString() : pool.at(int(random.bounded(pool.size())));
        keys.append(key);
        rows.append(shortRow ? ReportRow{{QString::number(r)}, r, Qt::Unchecked}
                             : ReportRow{{QString::number(r), key}, r, Qt::Unchecked});
    }
    ReportListModel list;
    list.setColumns({{u"行"_qs}, {u"键"_qs}});
    for (bool ascending : {true, false}) {
        list.setRows(rows);
        QSignalSpy changed(&list, &ReportListModel::dataChanged);
        QCOMPARE(SortReportList(list, 1, ascending ? 1 : 0), u"排序完成"_qs);
        QCOMPARE(changed.size(), 1);
        const QList<int> expected = selectionOrder(keys, ascending, 0, SortKeyText);
        for (int r = 0; r < list.rowCount(); ++r) {
            QCOMPARE(list.text(r, 0), QString::number(expected.at(r)));
            QCOMPARE(list.text(r, 1), keys.at(expected.at(r)));
            QCOMPARE(list.datum(r), qint64(expected.at(r)));
        }
    }
}

void TestReportListSort::reorderRejectsBadOrders()
{
    ReportListModel list;
    fill(list, {u"a"_qs, u"b"_qs, u"c"_qs});
    QSignalSpy changed(&list, &ReportListModel::dataChanged);
    for (const QList<int>& bad : {QList<int>{0, 1}, QList<int>{0, 1, 1}, QList<int>{0, 1, 3},
                                  QList<int>{-1, 0, 1}, QList<int>{0, 1, 2, 0}}) {
        QVERIFY(!list.reorderRows(bad));
        QCOMPARE(columnTexts(list, 0), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    }
    QCOMPARE(changed.size(), 0);
    QVERIFY(list.reorderRows({2, 0, 1}));
    QCOMPARE(columnTexts(list, 0), (QStringList{u"c"_qs, u"a"_qs, u"b"_qs}));
    QCOMPARE(columnTexts(list, 1), (QStringList{u"2"_qs, u"0"_qs, u"1"_qs}));
    QCOMPARE(list.datum(0), qint64(2));
    QCOMPARE(changed.size(), 1);
}

void TestReportListSort::headerClicksAlternateAndMark()
{
    ReportListModel list;
    list.setColumns({{u"编号"_qs}, {u"名称"_qs}, {u"现存量"_qs}});
    list.setRows({ReportRow{{u"1"_qs, u"b"_qs, u"9"_qs}}, ReportRow{{u"2"_qs, u"A"_qs, u"10"_qs}},
                  ReportRow{{u"3"_qs, u"a"_qs, u"100"_qs}}});

    OnStockHeaderClick(list, 2);
    QCOMPARE(list.columnTitle(2), u"现存量△"_qs);
    QCOMPARE(columnTexts(list, 2), (QStringList{u"9"_qs, u"100"_qs, u"10"_qs}));

    OnStockHeaderClick(list, 2);
    QCOMPARE(list.columnTitle(2), u"现存量▽"_qs);
    QCOMPARE(columnTexts(list, 2), (QStringList{u"10"_qs, u"100"_qs, u"9"_qs}));

    OnStockHeaderClick(list, 2);
    QCOMPARE(list.columnTitle(2), u"现存量△"_qs);

    // Another column starts again with descending and clears the marks elsewhere.
    OnStockHeaderClick(list, 1);
    QCOMPARE(list.columnTitle(2), u"现存量"_qs);
    QCOMPARE(list.columnTitle(1), u"名称△"_qs);
    QCOMPARE(columnTexts(list, 1), (QStringList{u"b"_qs, u"A"_qs, u"a"_qs}));
    QCOMPARE(list.columnTitle(0), u"编号"_qs);
}

QTEST_GUILESS_MAIN(TestReportListSort)
#include "tst_reportlistsort.moc"
