// Reads that fail are reported, never shown as data: the stock views keep their rows and name
// the read and the database's error; the stock check, the login and a requisition's auditor
// fail rather than read as a stock of 0, "没有这用户" or "not audited".

#include "common/reportlistmodel.h"
#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "documents/stockcheck.h"
#include "stock/monthlysummary.h"
#include "stock/movementlist.h"
#include "stock/stocklist.h"
#include "stock/stocksearch.h"
#include "support/tempdatastore.h"
#include "users/login.h"

#include <QtTest>
#include <functional>

using namespace mv;
using mv::test::TempDataStore;

namespace {

const QString in = QStringLiteral("入库");

// The message names the failed read and carries the database's own error about the table.
void verifyFailure(const QString& message, const QString& read, const QString& table)
{
    QVERIFY2(message.startsWith(read) && message.contains(table), qPrintable(message));
}

} // namespace

class TestFailedReads : public QObject
{
    Q_OBJECT
private slots:
    void stockViewsKeepTheirRows();
    void stockCheckFailsInsteadOfFindingNoStock();
    void loginAndAuditorFailInsteadOfAnswering();
};

void TestFailedReads::stockViewsKeepTheirRows()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-03-05"_qs, u"铝材"_qs, u"支"_qs,
                  u"00000001"_qs, u"张三"_qs);
    store.exec(u"INSERT INTO ycl (编号, 库存分类, 原材料名字, 规格, 单位) "
               u"VALUES (7, '铝材', '角铝', 'A1', '支')"_qs);
    Connection& c = store.connection();
    using Fill = std::function<QueryOutcome(ReportListModel&)>;
    const QList<std::pair<QString, Fill>> reads = {
        {u"读取库存失败："_qs, [&](ReportListModel& l) { return RefreshStockList(c, l); }},
        {u"读取库存失败："_qs, [&](ReportListModel& l) { return FillStockListFromYcl(c, l, 2); }},
        {u"搜索失败："_qs,
         [&](ReportListModel& l) { return SearchStock(c, l, StockSearchField::Name, u"角"_qs); }},
        {u"读取出入记录失败："_qs,
         [&](ReportListModel& l) { return FillMovementList(c, l, u"角铝"_qs, u"A1"_qs); }},
        {u"统计失败："_qs,
         [&](ReportListModel& l) {
             return BuildMonthlySummary(c, l, QDate(2010, 3, 1), QDate(2010, 3, 31));
         }},
    };
    std::vector<std::unique_ptr<ReportListModel>> lists;
    QList<QList<QStringList>> shown;
    for (const auto& [failure, fill] : reads) {
        lists.push_back(std::make_unique<ReportListModel>());
        const QueryOutcome outcome = fill(*lists.back());
        QVERIFY2(outcome.done && outcome.message.isEmpty(), qPrintable(failure));
        QCOMPARE(lists.back()->rowCount(), 1);
        shown.append(lists.back()->cellTexts());
    }

    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    for (qsizetype i = 0; i < reads.size(); ++i) {
        const QueryOutcome outcome = reads.at(i).second(*lists.at(i));
        QVERIFY(!outcome.done);
        verifyFailure(outcome.message, reads.at(i).first, u"yclnote"_qs);
        QCOMPARE(outcome.title, u"错误"_qs);
        QCOMPARE(lists.at(i)->cellTexts(), shown.at(i));
    }
}

void TestFailedReads::stockCheckFailsInsteadOfFindingNoStock()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-03-05"_qs);
    const QList<DocumentLine> lines = {{{u"角铝"_qs, u"A1"_qs, u"3"_qs, u"支"_qs}}};
    QVERIFY(checkStock(store.connection(), lines).done);
    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    const DocumentOutcome outcome = checkStock(store.connection(), lines);
    QVERIFY(!outcome.done);
    verifyFailure(outcome.message, u"检查库存失败"_qs, u"yclnote"_qs);
    QVERIFY(!outcome.message.contains(u"库中不够"_qs));
}

void TestFailedReads::loginAndAuditorFailInsteadOfAnswering()
{
    TempDataStore store;
    Connection& c = store.connection();
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-03-05"_qs);
    Document requisition;
    requisition.kind = DocumentKind::Requisition;
    requisition.header = {u"00000001"_qs, QDate(2010, 3, 6), u"一号楼"_qs, u"铝材"_qs, u"张三"_qs};
    requisition.lines = {{{u"角铝"_qs, u"A1"_qs, u"3"_qs, u"支"_qs}}};
    QVERIFY(saveDocument(c, requisition).done);
    QVERIFY(auditRequisition(c, {u"00000001"_qs, {}, false, u"李四"_qs, true}).done);
    QCOMPARE(loadDocument(c, DocumentKind::Requisition, u"00000001"_qs)->auditor, u"李四"_qs);
    QVERIFY(checkLogin(c, u"admin"_qs, u"admin"_qs).done);

    store.exec(u"ALTER TABLE ycldate RENAME TO ycldate_gone"_qs);
    QString error;
    QVERIFY(!loadDocument(c, DocumentKind::Requisition, u"00000001"_qs, &error));
    QVERIFY2(error.contains(u"ycldate"_qs), qPrintable(error));

    store.exec(u"ALTER TABLE [user] RENAME TO user_gone"_qs);
    const LoginOutcome login = checkLogin(c, u"admin"_qs, u"admin"_qs);
    QVERIFY(!login.done);
    verifyFailure(login.message, u"读取用户失败："_qs, u"user"_qs);
    QCOMPARE(login.focus, LoginField::None);
}

QTEST_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
