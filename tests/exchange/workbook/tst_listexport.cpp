// The list export read back by an independent reader: sheet names, header rows, every cell
// as text (Chinese, quotes, empty and long cells, the shared string table running over many
// records), sheets continued past the .xls row limit, two exports at once, and failures that
// leave an existing file as it was and nothing beside it.

#include "exchange/workbook/listexport.h"
#include "support/filesizelimit.h"
#include "support/workbookreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace mv;
using namespace mv::test;

namespace {

const QStringList kTitles = {QStringLiteral("编号"), QStringLiteral("名称 [规格]"),
                             QStringLiteral("型\"号"), QStringLiteral("编号"),
                             QStringLiteral("备注")};

// 1000 rows that exercise the string table: Chinese, both quote kinds, empty and missing
// cells, repeated texts, a cell long enough to span several records, 8-bit and wide texts.
QList<QStringList> sampleRows()
{
    QList<QStringList> rows;
    for (int i = 0; i < 1000; ++i) {
        QStringList row{QString::number(i + 1), QStringLiteral("铝型材%1").arg(i % 37),
                        QStringLiteral("O'Neil \"6063\" ") + QString::number(i), QString(),
                        i % 3 ? QStringLiteral("窗框·%1").arg(i) : QString()};
        if (i % 10 == 0)
            row.removeLast(); // a short row: its last cell is empty
        rows.append(row);
    }
    rows[5][4] = QString(9000, QChar(0x4E2D)) + QStringLiteral("end"); // wide, spans records
    rows[6][4] = QString(20000, QLatin1Char('x'));                     // 8-bit, spans records
    rows[7][1] = QStringLiteral("café ünïcode");
    rows[8][2] = QStringLiteral("_x0041_ 型号 _x"); // no escape for a reader
    return rows;
}

} // namespace

class TestListExport : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void longListGoesOnInFurtherSheets();
    void twoExportsAtOnce();
    void failureLeavesNoWorkbook();
    void helpers();

private:
    ListExportOutcome run(const QString& path, const QList<QStringList>& rows,
                          const QString& sheet = QStringLiteral("库存"))
    {
        ListExportRequest request;
        request.titles = kTitles;
        request.rows = rows;
        request.sheetName = sheet;
        request.outputPath = path;
        m_progress.clear();
        return exportList(request, [this](int written, int total) {
            m_progress.append({written, total});
        });
    }

    QTemporaryDir m_dir;
    QList<QPair<int, int>> m_progress;
};

void TestListExport::roundTrip_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("xls") << QStringLiteral("库存.xls");
    QTest::newRow("xlsx") << QStringLiteral("库存.XLSX");
}

void TestListExport::roundTrip()
{
    QFETCH(QString, fileName);
    const QString path = m_dir.filePath(fileName);
    const QList<QStringList> rows = sampleRows();
    const ListExportOutcome outcome = run(path, rows);
    QVERIFY2(outcome.done, qPrintable(outcome.message));
    QCOMPARE(outcome.sheets, 1);
    QCOMPARE(m_progress.last(), qMakePair(1000, 1000));

    const ReadWorkbook book = readWorkbook(path);
    QVERIFY2(book.ok, qPrintable(book.error));
    QCOMPARE(book.sheets.size(), 1);
    QCOMPARE(book.sheets[0].name, QStringLiteral("库存"));
    QCOMPARE(book.sheets[0].nonTextCells, 0);
    QCOMPARE(book.sheets[0].rows, withoutTrailingEmpties(QList<QStringList>{kTitles} + rows));

    // Readable by whoever may read any file the user saves there.
    QFile plain(m_dir.filePath(u"plain"_qs));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QCOMPARE(QFile::permissions(path), plain.permissions());
}

void TestListExport::longListGoesOnInFurtherSheets()
{
    // An .xls sheet holds 65536 rows: the header and 65535 list rows.
    QList<QStringList> rows;
    for (int i = 0; i < 70000; ++i)
        rows.append({QString::number(i)});
    const QString path = m_dir.filePath(QStringLiteral("long.xls"));
    const ListExportOutcome outcome = run(path, rows, QStringLiteral("月度汇总"));
    QVERIFY2(outcome.done, qPrintable(outcome.message));
    QCOMPARE(outcome.sheets, 2);
    const ReadWorkbook book = readWorkbook(path);
    QVERIFY2(book.ok, qPrintable(book.error));
    QCOMPARE(book.sheets.size(), 2);
    QCOMPARE(book.sheets[1].name, QStringLiteral("月度汇总(2)"));
    QCOMPARE(book.sheets[0].rows.size(), 65536);
    QCOMPARE(book.sheets[1].rows.size(), 70000 - 65535 + 1);
    QCOMPARE(book.sheets[1].rows[0], kTitles); // the header row again
    QCOMPARE(book.sheets[0].rows.last(), QStringList{QStringLiteral("65534")});
    QCOMPARE(book.sheets[1].rows[1], QStringList{QStringLiteral("65535")});
}

void TestListExport::twoExportsAtOnce()
{
    // Two exports running together, of different lists into different files.
    QList<QStringList> other = sampleRows().mid(0, 300);
    for (QStringList& row : other)
        row[1] = QStringLiteral("第二份");
    const QString paths[2] = {m_dir.filePath(u"同时一.xls"_qs), m_dir.filePath(u"同时二.xlsx"_qs)};
    const QList<QStringList> lists[2] = {sampleRows(), other};
    ListExportOutcome outcomes[2];
    {
        std::jthread second([&] {
            outcomes[1] = exportList({kTitles, lists[1], u"库存"_qs, paths[1]});
        });
        outcomes[0] = exportList({kTitles, lists[0], u"库存"_qs, paths[0]});
    }
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(outcomes[i].done, qPrintable(outcomes[i].message));
        const ReadWorkbook book = readWorkbook(paths[i]);
        QVERIFY2(book.ok, qPrintable(book.error));
        QCOMPARE(book.sheets[0].rows,
                 withoutTrailingEmpties(QList<QStringList>{kTitles} + lists[i]));
    }
}

void TestListExport::failureLeavesNoWorkbook()
{
    // A directory that does not exist: reported, nothing written.
    const QString missing = m_dir.filePath(QStringLiteral("无此目录/库存.xls"));
    for (const QString& path : QStringList{missing, missing + QLatin1Char('x')}) {
        const ListExportOutcome outcome = run(path, sampleRows());
        QVERIFY(!outcome.done);
        QVERIFY2(outcome.message.startsWith(QStringLiteral("导出失败")),
                 qPrintable(outcome.message));
        QVERIFY(!QFileInfo::exists(path));
    }

    // A failure while writing, or when the finished file cannot take the target's place,
    // keeps an existing file as it was and leaves nothing beside it.
    QTemporaryDir target;
    for (const QString& name : QStringList{u"old.xls"_qs, u"old.xlsx"_qs}) {
        const QString path = target.filePath(name);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous export");
        old.close();
        QList<QStringList> rows = sampleRows();
        rows[500][1] = QString(40000, QLatin1Char('y')); // past the cell length limit
        const ListExportOutcome outcome = run(path, rows);
        QVERIFY(!outcome.done);
        QVERIFY(outcome.message.contains(QStringLiteral("32767")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous export"));
        old.close();
    }
    // The disk refusing the writes (a file size limit stands in for a full disk): the reason
    // as the system gives it, in Chinese.
    for (const QString& name : QStringList{u"old.xls"_qs, u"old.xlsx"_qs}) {
        ListExportOutcome outcome;
        {
            const test::FileSizeLimit full(4096);
            outcome = run(target.filePath(name), sampleRows());
        }
        QVERIFY(!outcome.done);
        QVERIFY2(outcome.message.endsWith(u"：文件超出了磁盘允许的大小。"_qs),
                 qPrintable(outcome.message));
    }
    for (const QString& name : QStringList{u"目录.xls"_qs, u"目录.xlsx"_qs}) {
        const QString path = target.filePath(name);
        QVERIFY(QDir().mkpath(path + u"/内容"_qs)); // a directory is in the way
        const ListExportOutcome outcome = run(path, sampleRows());
        QVERIFY(!outcome.done);
        QVERIFY2(outcome.message.startsWith(QStringLiteral("导出失败")),
                 qPrintable(outcome.message));
        QVERIFY(QFileInfo(path + u"/内容"_qs).isDir());
    }
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{u"old.xls"_qs, u"old.xlsx"_qs, u"目录.xls"_qs, u"目录.xlsx"_qs}));
}

void TestListExport::helpers()
{
    QCOMPARE(continuationSheetName(QString(31, QLatin1Char('s')), 12).size(), 31);
    QCOMPARE(workbookFileName(u"/t/库存"_qs), u"/t/库存.xls"_qs);
    QCOMPARE(workbookFileName(u"/t/库存.XLSX"_qs), u"/t/库存.XLSX"_qs);
    QCOMPARE(workbookFileName(u"/t/库存2026.12.10"_qs), u"/t/库存2026.12.10.xls"_qs);
    QVERIFY(!run(m_dir.filePath(u"x.xls"_qs), {}, u"a/b"_qs).done);
}

QTEST_GUILESS_MAIN(TestListExport)
#include "tst_listexport.moc"
