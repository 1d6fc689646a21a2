// The stock views in the main window with a second clerk on the same database: entering the
// stock page reads the list again when the other one committed a document, and only then;
// a read that fails keeps the rows on screen with the page marked "（未刷新）", and a summary
// that was not refreshed is not exported.

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

Document receipt(const QString& number, const QString& item)
{
    Document d;
    d.kind = DocumentKind::Receipt;
    d.header = {number, QDate(2010, 3, 5), u"华东铝业"_qs, u"铝材"_qs, u"李四"_qs};
    d.lines = {{{item, u"X"_qs, u"2"_qs, u"支"_qs, u"1"_qs}}};
    return d;
}

// A second connection to the store's database, as a second copy of the program opens it.
void openAgain(Connection& connection, const TempDataStore& store)
{
    QString error;
    const bool opened = store.onServer() ? openServerDatabase(connection, store.url(), {}, &error)
                                         : openDataStore(connection, store.directory(), {}, &error);
    QVERIFY2(opened, qPrintable(error));
}

// The main window of the first clerk on the store, with every message answered.
struct Clerk
{
    explicit Clerk(TempDataStore& store)
    {
        session() = Session{u"张三"_qs, true, true};
        window = std::make_unique<MainWindow>(store.connection(), nullptr);
        tabs = window->findChild<TabControl*>(u"选择夹1"_qs);
        stock = window->stockPage()->stockList()->model();
    }
    QStringList names() const { return columnTexts(*stock, 2); }
    QString caption(int page) const { return tabs->tabText(page); }
    bool saysFirst(const QString& start) const
    {
        return !responder.messages.isEmpty() && responder.messages.first().text.startsWith(start);
    }

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
    void failedReadsKeepTheRowsMarked();
    void unreadDocumentStaysOnItsPage();
    void olderDatabaseGetsTheCounterOnOpen();
};

void TestStockRefresh::anotherClerksWorkShowsOnEntering()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, u"10"_qs, u"2010-03-01"_qs, u"铝材"_qs);
    Clerk clerk(store);
    Connection other;
    openAgain(other, store);
    QCOMPARE(clerk.names(), QStringList{u"角铝"_qs});
    QSignalSpy fills(clerk.stock, &QAbstractItemModel::modelReset);

    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 0); // nothing committed since the list was filled

    QVERIFY(saveDocument(other, receipt(u"00000001"_qs, u"玻璃"_qs)).done);
    QCOMPARE(clerk.names(), QStringList{u"角铝"_qs});
    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 1);
    QCOMPARE(clerk.names().size(), 2);
    QVERIFY(clerk.names().contains(u"玻璃"_qs));

    // A refused save (the number is taken) commits nothing.
    QVERIFY(!saveDocument(other, receipt(u"00000001"_qs, u"胶条"_qs)).done);
    clerk.window->onMainButton(MainStock);
    QCOMPARE(fills.count(), 1);

    // 返回 from the movement page enters the stock page too.
    QVERIFY(deleteDocument(other, DocumentKind::Receipt, u"00000001"_qs).done);
    clerk.window->findChild<QPushButton*>(u"按钮3"_qs)->click();
    QCOMPARE(fills.count(), 2);
    QCOMPARE(clerk.names(), QStringList{u"角铝"_qs});
    QVERIFY(clerk.responder.messages.isEmpty());
}

void TestStockRefresh::failedReadsKeepTheRowsMarked()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, u"10"_qs, u"2010-03-01"_qs, u"铝材"_qs);
    Clerk clerk(store);
    MainWindow& window = *clerk.window;
    window.onMainButton(MainStock);
    window.onAuxButton(AuxSummary);
    window.onMainButton(MainStock);
    ReportListModel* summary = window.findChild<ReportList*>(u"超级列表框3"_qs)->model();
    const QList<QStringList> stockShown = clerk.stock->cellTexts();
    const QList<QStringList> summaryShown = summary->cellTexts();
    QCOMPARE(summaryShown.size(), 1);
    const QString stockCaption = clerk.caption(PageStock);
    const QString movementCaption = clerk.caption(PageMovements);
    const QString summaryCaption = clerk.caption(PageMonthly);

    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    const QString mark = u"（未刷新）"_qs;
    const auto says = [&](const std::function<void()>& act, const QString& message) {
        clerk.responder.clear();
        act();
        return clerk.saysFirst(message);
    };
    const auto last = [&] { return qPrintable(clerk.responder.lastText()); };
    QAction* refresh = window.findChild<QAction*>(u"导入_刷新"_qs);
    QVERIFY2(says([&] { refresh->trigger(); }, u"读取库存失败："_qs), last());
    QCOMPARE(clerk.caption(PageStock), stockCaption + mark);
    QVERIFY2(says([&] { window.stockPage()->showSearchResults(StockSearchField::Name, u"角"_qs); },
                  u"搜索失败："_qs),
             last());
    QVERIFY2(says([&] { emit window.stockPage()->stockList()->rowDoubleClicked(0); },
                  u"读取出入记录失败："_qs),
             last());
    QCOMPARE(window.currentPage(), int(PageStock));
    QCOMPARE(clerk.caption(PageMovements), movementCaption + mark);
    QCOMPARE(clerk.stock->cellTexts(), stockShown);

    QVERIFY2(says([&] { window.onAuxButton(AuxSummary); }, u"统计失败："_qs), last());
    QCOMPARE(window.currentPage(), int(PageMonthly));
    QCOMPARE(summary->cellTexts(), summaryShown);
    QCOMPARE(clerk.caption(PageMonthly), summaryCaption + mark);
    QVERIFY2(says([&] { window.onAuxButton(AuxSave); }, u"月度汇总没有刷新"_qs), last());
    QVERIFY(clerk.responder.fileDialogs.isEmpty());

    // Read again once the database answers: entering the page after a failed read reads it
    // again, and the marks go.
    store.exec(u"ALTER TABLE yclnote_gone RENAME TO yclnote"_qs);
    clerk.responder.clear();
    window.onMainButton(MainStock);
    window.onAuxButton(AuxSummary);
    QVERIFY2(clerk.responder.messages.isEmpty(), qPrintable(clerk.responder.lastText()));
    QCOMPARE(clerk.caption(PageStock), stockCaption);
    QCOMPARE(clerk.caption(PageMonthly), summaryCaption);
}

void TestStockRefresh::unreadDocumentStaysOnItsPage()
{
    TempDataStore store;
    QVERIFY(saveDocument(store.connection(), receipt(u"00000001"_qs, u"角铝"_qs)).done);
    QVERIFY(saveDocument(store.connection(), receipt(u"00000002"_qs, u"玻璃"_qs)).done);
    Clerk clerk(store);
    MainWindow& window = *clerk.window;
    auto* number = window.findChild<QLineEdit*>(u"编辑框_单号入库"_qs);
    auto* grid = window.findChild<DocumentGrid*>(u"显示数据"_qs);
    window.onMainButton(MainReceipt);
    QCOMPARE(number->text(), u"00000002"_qs);
    const QString caption = clerk.caption(PageReceipt);

    store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    window.onAuxButton(AuxPrevious);
    QVERIFY2(clerk.saysFirst(u"读取单据失败"_qs), qPrintable(clerk.responder.lastText()));
    QCOMPARE(number->text(), u"00000002"_qs);
    QCOMPARE(grid->cellText(1, 0), u"玻璃"_qs);
    QCOMPARE(clerk.caption(PageReceipt), caption + u"（未刷新）"_qs);

    store.exec(u"ALTER TABLE yclnote_gone RENAME TO yclnote"_qs);
    window.onAuxButton(AuxPrevious); // the step not taken is taken now
    QCOMPARE(number->text(), u"00000001"_qs);
    QCOMPARE(grid->cellText(1, 0), u"角铝"_qs);
    QCOMPARE(clerk.caption(PageReceipt), caption);
}

void TestStockRefresh::olderDatabaseGetsTheCounterOnOpen()
{
    TempDataStore store;
    store.exec(u"DROP TABLE morvane_changes"_qs);
    QVERIFY(!changeCount(store.connection()));
    Connection again;
    openAgain(again, store);
    QCOMPARE(changeCount(again), std::optional<qint64>(0));
    QVERIFY(saveDocument(again, receipt(u"00000001"_qs, u"角铝"_qs)).done);
    QCOMPARE(changeCount(store.connection()), std::optional<qint64>(1));
}

QTEST_MAIN(TestStockRefresh)
#include "tst_stockrefresh.moc"
