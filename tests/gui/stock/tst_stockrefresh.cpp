// The main window with a second clerk on its database: entering the stock page reads the list
// again when the other one committed a document, and only then. A read that fails keeps the
// page as it was, marked "（未刷新）"; a summary not refreshed is not exported.

#include "common/session.h"
#include "db/changecounter.h"
#include "documents/documentsave.h"
#include "gui/main/mainwindow.h"
#include "gui/main/toolbarsets.h"
#include "gui/stock/stockpage.h"
#include "support/listtexts.h"
#include "support/scriptedresponder.h"
#include "support/tempdatastore.h"
#include "widgets/documentgrid.h"
#include "widgets/reportlist.h"
#include "widgets/tabcontrol.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace mv;
using namespace mv::test;

namespace {

const QString kMark = u"（未刷新）"_qs;

Document receipt(const QString& number, const QString& item)
{
    return {DocumentKind::Receipt,
            {number, QDate(2010, 3, 5), u"华东铝业"_qs, u"铝材"_qs, u"李四"_qs},
            {{{item, u"X"_qs, u"2"_qs, u"支"_qs, u"1"_qs}}}};
}

// A second connection to the store's database, as a second copy of the program opens it.
void openAgain(Connection& connection, const TempDataStore& store)
{
    QString error;
    QVERIFY2(store.onServer() ? openServerDatabase(connection, store.url(), {}, &error)
                              : openDataStore(connection, store.directory(), {}, &error),
             qPrintable(error));
}

// The first clerk's main window, every message answered and recorded.
struct Clerk
{
    explicit Clerk(TempDataStore& store)
    {
        store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, u"10"_qs, u"2010-03-01"_qs, u"铝材"_qs);
        session() = Session{u"张三"_qs, true, true};
        window = std::make_unique<MainWindow>(store.connection(), nullptr);
        tabs = window->findChild<TabControl*>(u"选择夹1"_qs);
        stock = window->stockPage()->stockList()->model();
    }
    // Acts and tells whether the first message it brought starts with the text.
    bool says(const std::function<void()>& act, const QString& start)
    {
        responder.clear();
        act();
        return !responder.messages.isEmpty() && responder.messages.first().text.startsWith(start);
    }
    bool marked(int page) const { return tabs->tabText(page).endsWith(kMark); }

    ScriptedResponder responder;
    std::unique_ptr<MainWindow> window;
    TabControl* tabs = nullptr;
    ReportListModel* stock = nullptr;
};

} // namespace

class TestStockRefresh : public QObject
{
    Q_OBJECT
private slots:
    void anotherClerksWorkShowsOnEntering();
    void failedReadsKeepThePagesMarked();
    void olderDatabaseGetsTheCounterOnOpen();
};

void TestStockRefresh::anotherClerksWorkShowsOnEntering()
{
    TempDataStore store;
    Clerk clerk(store);
    Connection other;
    openAgain(other, store);
    QSignalSpy fills(clerk.stock, &QAbstractItemModel::modelReset);
    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 0); // nothing committed since the list was filled

    QVERIFY(saveDocument(other, receipt(u"00000001"_qs, u"玻璃"_qs)).done);
    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 1);
    QCOMPARE(columnTexts(*clerk.stock, 2).size(), 2);
    // A refused save (the number is taken) commits nothing.
    QVERIFY(!saveDocument(other, receipt(u"00000001"_qs, u"胶条"_qs)).done);
    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 1);
    // 返回 on the movement page enters the stock page too.
    QVERIFY(deleteDocument(other, DocumentKind::Receipt, u"00000001"_qs).done);
    clerk.window->findChild<QPushButton*>(u"按钮3"_qs)->click();
    QCOMPARE(columnTexts(*clerk.stock, 2), QStringList{u"角铝"_qs});
    QVERIFY(clerk.responder.messages.isEmpty());
}

void TestStockRefresh::failedReadsKeepThePagesMarked()
{
    TempDataStore store;
    QVERIFY(saveDocument(store.connection(), receipt(u"00000001"_qs, u"胶条"_qs)).done);
    QVERIFY(saveDocument(store.connection(), receipt(u"00000002"_qs, u"玻璃"_qs)).done);
    Clerk clerk(store);
    MainWindow& window = *clerk.window;
    window.onMainButton(MainStock);
    window.onAuxButton(AuxSummary);
    window.onMainButton(MainReceipt);
    ReportListModel* summary = window.findChild<ReportList*>(u"超级列表框3"_qs)->model();
    const QList<QStringList> stockShown = clerk.stock->cellTexts();
    const QList<QStringList> summaryShown = summary->cellTexts();
    auto* grid = window.findChild<DocumentGrid*>(u"显示数据"_qs);
    QCOMPARE(grid->cellText(1, 0), u"玻璃"_qs);

    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    QVERIFY(clerk.says([&] { window.onAuxButton(AuxPrevious); }, u"读取单据失败"_qs));
    QCOMPARE(window.findChild<QLineEdit*>(u"编辑框_单号入库"_qs)->text(), u"00000002"_qs);
    QCOMPARE(grid->cellText(1, 0), u"玻璃"_qs);
    QVERIFY(clerk.marked(PageReceipt));
    window.onMainButton(MainStock);
    QVERIFY(clerk.says([&] { window.findChild<QAction*>(u"导入_刷新"_qs)->trigger(); },
                       u"读取库存失败："_qs));
    QVERIFY(clerk.responder.lastText().contains(u"yclnote"_qs)); // the database's own error
    QVERIFY(clerk.says([&] { emit window.stockPage()->stockList()->rowDoubleClicked(0); },
                       u"读取出入记录失败："_qs));
    QVERIFY(
        clerk.says([&] { window.stockPage()->showSearchResults(StockSearchField::Name, u"角"_qs); },
                   u"搜索失败："_qs));
    QCOMPARE(window.currentPage(), int(PageStock));
    QCOMPARE(clerk.stock->cellTexts(), stockShown);
    QVERIFY(clerk.marked(PageStock) && clerk.marked(PageMovements));
    QVERIFY(clerk.says([&] { window.onAuxButton(AuxSummary); }, u"统计失败："_qs));
    QCOMPARE(summary->cellTexts(), summaryShown);
    QVERIFY(clerk.says([&] { window.onAuxButton(AuxSave); }, u"月度汇总没有刷新"_qs));
    QVERIFY(clerk.responder.fileDialogs.isEmpty());

    // Once the database answers, entering the page or 统计 reads again and the marks go.
    store.exec(u"ALTER TABLE yclnote_gone RENAME TO yclnote"_qs);
    window.onMainButton(MainStock);
    window.onAuxButton(AuxSummary);
    window.onMainButton(MainReceipt);
    QVERIFY(!clerk.marked(PageStock) && !clerk.marked(PageMonthly) && !clerk.marked(PageReceipt));

    // Search results say so on the tab until the whole list is shown again.
    window.stockPage()->showSearchResults(StockSearchField::Name, u"玻"_qs);
    QCOMPARE(clerk.tabs->tabText(PageStock), u"YCL库存（搜索结果）"_qs);
    window.onMainButton(MainStock);
    QCOMPARE(clerk.tabs->tabText(PageStock), u"YCL库存"_qs);
}

void TestStockRefresh::olderDatabaseGetsTheCounterOnOpen()
{
    TempDataStore store;
    store.exec(u"DROP TABLE morvane_changes"_qs);
    Connection again;
    openAgain(again, store);
    QVERIFY(saveDocument(again, receipt(u"00000001"_qs, u"角铝"_qs)).done);
    QCOMPARE(changeCount(store.connection()), std::optional<qint64>(1));
}

QTEST_MAIN(TestStockRefresh)
#include "tst_stockrefresh.moc"
