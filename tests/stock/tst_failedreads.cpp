// Failed reads are reported, never taken as data: the stock check, a requisition's auditor
// and the login fail, naming the read and the database's error, rather than read as a stock
// of 0, "not audited" or "没有这用户". (The lists: tests/gui/stock/tst_stockrefresh.cpp.)

#include "common/reportlistmodel.h"
#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "documents/stockcheck.h"
#include "stock/stocklist.h"
#include "support/tempdatastore.h"
#include "users/login.h"

#include <QtTest>

using namespace mv;
using mv::test::TempDataStore;

#define VERIFY_NAMES(message, read, table)                                                         \
    QVERIFY2((message).startsWith(read) && (message).contains(table), qPrintable(message))

class TestFailedReads : public QObject
{
    Q_OBJECT
private slots:
    void checksAndLookupsFail();
    void damagedFileIsSaidSo();
};

void TestFailedReads::checksAndLookupsFail()
{
    TempDataStore store;
    Connection& c = store.connection();
    store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, u"10"_qs, u"2010-03-05"_qs);
    Document requisition{DocumentKind::Requisition,
                         {u"00000001"_qs, QDate(2010, 3, 6), u"一号楼"_qs, u"铝材"_qs, u"张三"_qs},
                         {{{u"角铝"_qs, u"A1"_qs, u"3"_qs, u"支"_qs}}}};
    QVERIFY(saveDocument(c, requisition).done);
    QVERIFY(auditRequisition(c, {u"00000001"_qs, {}, false, u"李四"_qs, true}).done);

    store.exec(u"ALTER TABLE ycldate RENAME TO ycldate_gone"_qs);
    QString error;
    QVERIFY(!loadDocument(c, DocumentKind::Requisition, u"00000001"_qs, &error));
    QVERIFY2(error.contains(u"ycldate"_qs), qPrintable(error));
    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    const DocumentOutcome check = checkStock(c, requisition.lines);
    QVERIFY(!check.done);
    VERIFY_NAMES(check.message, u"检查库存失败"_qs, u"yclnote"_qs);
    store.exec(u"ALTER TABLE [user] RENAME TO user_gone"_qs);
    const LoginOutcome login = checkLogin(c, u"admin"_qs, u"admin"_qs);
    QVERIFY(!login.done);
    VERIFY_NAMES(login.message, u"读取用户失败："_qs, u"user"_qs);
    QVERIFY(!offeredUserNames(c));
}

// A file damaged under the program (a disk that failed, a copy made over it) is said so, with
// the way back, not in the database's words.
void TestFailedReads::damagedFileIsSaidSo()
{
    TempDataStore store;
    if (store.onServer())
        QSKIP("a damaged file is SQLite's");
    store.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
               "INSERT INTO yclnote (单据号, 正负, 日期, 原材料名字, 型号, 数量) "
               "SELECT printf('%08d', i), '入库', '2010-03-05', '角铝' || i, 'A1', '10' FROM n"_qs);
    store.connection().close();
    QFile file(store.databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(8192)); // past the schema on the first page
    file.write(QByteArray(int(file.size() - 8192), '\xff'));
    file.close();

    Connection c;
    QVERIFY(c.openSqlite(store.databasePath()));
    ReportListModel list;
    const QueryOutcome read = RefreshStockList(c, list);
    QVERIFY(!read.done);
    QCOMPARE(read.message, u"读取库存失败：数据库文件已损坏，请用“系统 → 数据恢复”从备份恢复。"_qs);
}

QTEST_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
