// Failed reads are reported, never taken as data: the stock check, a requisition's auditor
// and the login fail, naming the read and the database's error, rather than read as a stock
// of 0, "not audited" or "没有这用户". (The lists: tests/gui/stock/tst_stockrefresh.cpp.)

#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "documents/stockcheck.h"
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

QTEST_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
