// The stock, movement, search and monthly summary controllers on the main window's
// controls: fills, movement page, deletion with and without the data right, search
// coupling and messages, the summary figures, and the header-click marks.

#include "common/session.h"
#include "forms/controldef.h"
#include "forms/windowbuilder.h"
#include "gui/printing/printsettingswindow.h"
#include "gui/printing/reportprint.h"
#include "gui/stock/monthlysummarypage.h"
#include "gui/stock/searchwindow.h"
#include "gui/stock/stockpage.h"
#include "stock/monthlysummary.h"
#include "support/scriptedresponder.h"
#include "support/tempdatastore.h"
#include "widgets/combobox.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"
#include "widgets/tabcontrol.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace mv;
using namespace mv::test;

namespace {

const QString in = QStringLiteral("入库");
const QString out = QStringLiteral("出库");

// The main window's controls, built from the catalogue, with a stock page on them.
struct MainControls
{
    explicit MainControls(Connection& connection)
    {
        built = buildWindow(*findWindowDef(u"MainWindow"_qs), &host);
        stockList = control<ReportList>(&host, u"超级列表框1"_qs);
        movementList = control<ReportList>(&host, u"超级列表框2"_qs);
        summaryList = control<ReportList>(&host, u"超级列表框3"_qs);
        tabs = control<TabControl>(&host, u"选择夹1"_qs);
        auxBar = control<StateToolBar>(&host, u"辅_工具条"_qs);
        stockPage = new StockPage(&host, connection);
    }

    QStringList column(ReportList* list, int c) const
    {
        QStringList texts;
        for (int r = 0; r < list->model()->rowCount(); ++r)
            texts.append(list->model()->text(r, c));
        return texts;
    }

    void trigger(const QString& action)
    {
        QAction* a = control<QAction>(&host, action);
        QVERIFY2(a, qPrintable(action));
        a->trigger();
    }

    QWidget host;
    BuiltWindow built;
    ReportList* stockList = nullptr;
    ReportList* movementList = nullptr;
    ReportList* summaryList = nullptr;
    TabControl* tabs = nullptr;
    StateToolBar* auxBar = nullptr;
    StockPage* stockPage = nullptr;
};

} // namespace

class TestStockPage : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsTheStockList();
    void doubleClickShowsMovementRecords();
    void deletionNeedsTheDataRight();
    void deletionAsksAndDeletesByDatum();
    void headerClicksSortAndMark();
    void searchWindowCouplesFieldsAndOptions();
    void monthlySummaryFromThePeriod();
};

void TestStockPage::refreshFillsTheStockList()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-01-05"_qs, u"铝材"_qs, u"支"_qs);
    store.addLine(u"角铝"_qs, u"A1"_qs, out, u"3"_qs, u"2010-01-06"_qs, u"铝材"_qs, u"支"_qs);
    MainControls main(store.connection());
    main.stockPage->refresh();
    QCOMPARE(main.stockList->model()->rowCount(), 1);
    QCOMPARE(
        main.stockList->model()->cellTexts().at(0),
        (QStringList{u"1"_qs, u"铝材"_qs, u"角铝"_qs, u"A1"_qs, u"7"_qs, u"支"_qs, QString()}));

    // 导入 > 刷新 reloads the list.
    store.addLine(u"玻璃"_qs, u"5mm"_qs, in, u"2"_qs, u"2010-01-06"_qs, u"玻璃"_qs, u"块"_qs);
    main.trigger(u"导入_刷新"_qs);
    QCOMPARE(main.stockList->model()->rowCount(), 2);
}

void TestStockPage::doubleClickShowsMovementRecords()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-01-05"_qs, u"铝材"_qs, u"支"_qs,
                  u"00000001"_qs, u"张三"_qs);
    store.addLine(u"角铝"_qs, u"A2"_qs, out, u"3"_qs, u"2010-01-06"_qs, u"铝材"_qs, u"支"_qs);
    MainControls main(store.connection());
    main.stockPage->refresh();
    // Before any item is chosen the records page says how to choose one, and so does 打印.
    QVERIFY(control<QLabel>(&main.host, u"标签5"_qs)->text().contains(u"双击"_qs));
    ScriptedResponder responder;
    ReportPrint print(&main.host);
    main.stockPage->printMovements(print);
    QVERIFY(!print.settingsWindow() && responder.lastText().contains(u"双击"_qs));
    main.stockList->setSelectedRow(0);
    emit main.stockList->rowDoubleClicked(0);

    QCOMPARE(control<QLabel>(&main.host, u"标签5"_qs)->text(),
             u"原材料仓库 铝材 角铝 出入库记录"_qs);
    QCOMPARE(main.tabs->currentIndex(), 2);
    QCOMPARE(main.movementList->model()->rowCount(), 1);
    QCOMPARE(main.movementList->model()->cellTexts().at(0),
             (QStringList{u"入库"_qs, u"10"_qs, u"00000001"_qs, u"张三"_qs, u"2010年1月5日"_qs}));
    for (int i = 0; i < main.auxBar->buttonCount(); ++i)
        if (!main.auxBar->isSeparator(i))
            QCOMPARE(main.auxBar->isButtonEnabled(i), i < 3 || i > 9);
    // Printed, the records are headed by their item, which is on none of their rows.
    main.stockPage->printMovements(print);
    QVERIFY(print.settingsWindow() && print.sourceList() == main.movementList);
    QCOMPARE(print.settingsWindow()->findChild<QLineEdit*>(u"标题"_qs)->text(),
             u"原材料仓库 铝材 角铝 出入库记录"_qs);
    print.settingsWindow()->close();

    // The row menu's 记录 opens the records of the selected row the same way.
    main.stockList->setSelectedRow(1);
    main.trigger(u"导入_记录"_qs);
    QCOMPARE(main.movementList->model()->cellTexts().at(0).at(0), u"出库"_qs);
}

void TestStockPage::deletionNeedsTheDataRight()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-01-05"_qs);
    MainControls main(store.connection());
    main.stockPage->refresh();
    ScriptedResponder responder;

    session().dataRight = false;
    main.stockList->setSelectedRow(0);
    main.trigger(u"导入_删除"_qs);
    QCOMPARE(responder.lastText(), u"当前用户没有权限删除数据，请让系统管理员添加权限！"_qs);
    QCOMPARE(main.stockList->model()->rowCount(), 1);
    responder.clear();

    session().dataRight = true;
    main.stockList->setSelectedRow(-1);
    main.trigger(u"导入_删除"_qs);
    QCOMPARE(responder.messages.size(), 1);
    QCOMPARE(responder.messages.at(0).text, u"您还没有选择要删除的数据呢！"_qs);
    QCOMPARE(responder.messages.at(0).title, u"友情提示"_qs);
    QCOMPARE(responder.messages.at(0).code, 0x40);
    session().dataRight = false;
}

void TestStockPage::deletionAsksAndDeletesByDatum()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-01-05"_qs);
    store.exec(
        u"INSERT INTO ycl (编号, 库存分类, 原材料名字, 规格, 单位) VALUES (7, '铝材', '角铝', 'A1', '支')"_qs);
    store.exec(
        u"INSERT INTO ycl (编号, 库存分类, 原材料名字, 规格, 单位) VALUES (9, '玻璃', '玻璃', '5mm', '块')"_qs);
    MainControls main(store.connection());
    ScriptedResponder responder;
    session().dataRight = true;

    // A header click on column 1 of the movement list fills the stock list from ycl.
    emit main.movementList->headerClicked(1);
    QCOMPARE(main.stockList->model()->rowCount(), 2);
    QCOMPARE(main.stockList->model()->datum(0), qint64(9));
    QCOMPARE(main.stockList->model()->datum(1), qint64(7));
    QCOMPARE(main.stockList->model()->text(1, 4), u"10"_qs);
    // Sorted by 名称 (descending at the first click), the row of 角铝 still deletes 角铝.
    emit main.stockList->headerClicked(2);
    QCOMPARE(main.stockList->model()->text(0, 2), u"角铝"_qs);

    main.stockList->setSelectedRow(0);
    // Cancel hands the keyboard focus back to the list.
    main.host.show();
    main.host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main.host));
    main.tabs->setCurrentIndex(1);
    auto* elsewhere = control<QWidget>(&main.host, u"too"_qs);
    elsewhere->show();
    elsewhere->setFocus();
    QVERIFY(elsewhere->hasFocus());
    responder.queueAnswer(AnswerCancel);
    main.trigger(u"导入_删除"_qs);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(main.stockList));
    QCOMPARE(responder.lastText(), u"您真的要删除选中的数据吗？"_qs);
    QCOMPARE(responder.messages.last().title, u"删除提示"_qs);
    QCOMPARE(responder.messages.last().code, 0x31);
    auto count = [&] {
        auto rs = store.connection().query(u"SELECT COUNT(*) AS n FROM ycl"_qs);
        return rs ? rs->field(u"n"_qs).toInt() : -1;
    };
    QCOMPARE(count(), 2);

    responder.queueAnswer(AnswerOk);
    main.trigger(u"导入_删除"_qs);
    QCOMPARE(count(), 1);
    auto left = store.connection().query(u"SELECT 编号 FROM ycl"_qs);
    QVERIFY(left);
    QCOMPARE(left->field(u"编号"_qs), u"9"_qs);
    // The list is refilled the normal way afterwards.
    QCOMPARE(main.stockList->model()->rowCount(), 1);
    QCOMPARE(main.stockList->model()->datum(0), qint64(0));
    // Such a row has no record to delete: 确定 says so instead of seeming to delete it.
    main.stockList->setSelectedRow(0);
    responder.queueAnswer(AnswerOk);
    main.trigger(u"导入_删除"_qs);
    QVERIFY(responder.lastText().startsWith(u"没有删除任何数据"_qs));
    QCOMPARE(main.stockList->model()->rowCount(), 1);
    session().dataRight = false;
}

void TestStockPage::headerClicksSortAndMark()
{
    TempDataStore store;
    store.addLine(u"甲"_qs, u"A"_qs, in, u"9"_qs, u"2010-01-05"_qs);
    store.addLine(u"乙"_qs, u"B"_qs, in, u"10"_qs, u"2010-01-05"_qs);
    store.addLine(u"丙"_qs, u"C"_qs, in, u"100"_qs, u"2010-01-05"_qs);
    MainControls main(store.connection());
    main.stockPage->refresh();
    ReportListModel& model = *main.stockList->model();

    emit main.stockList->headerClicked(4);
    QCOMPARE(model.columnTitle(4), u"现存量△"_qs);
    QCOMPARE(main.column(main.stockList, 4), (QStringList{u"100"_qs, u"10"_qs, u"9"_qs}));
    emit main.stockList->headerClicked(4);
    QCOMPARE(model.columnTitle(4), u"现存量▽"_qs);
    QCOMPARE(main.column(main.stockList, 4), (QStringList{u"9"_qs, u"10"_qs, u"100"_qs}));
    emit main.stockList->headerClicked(3);
    QCOMPARE(model.columnTitle(4), u"现存量"_qs);
    QCOMPARE(model.columnTitle(3), u"型号△"_qs);
    QCOMPARE(main.column(main.stockList, 3), (QStringList{u"C"_qs, u"B"_qs, u"A"_qs}));
    // With no item table to fill from, a click on the records' titles leaves the list alone.
    emit main.movementList->headerClicked(1);
    QCOMPARE(model.rowCount(), 3);
}

void TestStockPage::searchWindowCouplesFieldsAndOptions()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"50%"_qs, in, u"10"_qs, u"2010-01-05"_qs, u"铝材"_qs);
    store.addLine(u"角铝"_qs, u"50%"_qs, out, u"4"_qs, u"2010-01-05"_qs, u"辅料"_qs);
    store.addLine(u"钢化玻璃"_qs, u"505"_qs, in, u"2"_qs, u"2010-01-05"_qs, u"玻璃"_qs);
    MainControls main(store.connection());
    main.stockPage->refresh();
    ScriptedResponder responder;

    QPointer<SearchWindow> window = new SearchWindow;
    QObject::connect(window, &SearchWindow::searchRequested, main.stockPage,
                     &StockPage::showSearchResults);
    window->show();
    auto* searchButton = control<QPushButton>(window, u"搜索按钮1"_qs);
    auto* category = control<ComboBox>(window, u"库存分类_组合框"_qs);
    auto* model = control<ComboBox>(window, u"型号_组合框"_qs);
    auto* option1 = control<QRadioButton>(window, u"单选框1"_qs);
    auto* option3 = control<QRadioButton>(window, u"单选框3"_qs);
    QVERIFY(searchButton && category && model && option1 && option3);

    // Opening gives the category field the focus, which selects its option.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == category || focus == static_cast<QWidget*>(category->lineEdit()));
    QVERIFY(option1->isChecked());

    // With no option selected the search only asks for one.
    for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    searchButton->click();
    QCOMPARE(responder.messages.size(), 1);
    QCOMPARE(responder.lastText(), u"请选择一个选项，输入你要查找的名称，然后再搜索。"_qs);
    QCOMPARE(responder.messages.at(0).title, u"提示"_qs);
    QCOMPARE(responder.messages.at(0).code, 0);
    QCOMPARE(main.stockList->model()->rowCount(), 2 + 1);

    emit category->gotFocus();
    QVERIFY(option1->isChecked());
    // Moving into the model field switches the search to the model.
    emit model->gotFocus();
    QVERIFY(option3->isChecked());
    QVERIFY(!option1->isChecked());
    model->setEditText(u"%"_qs);
    QTest::keyClick(model, Qt::Key_Return);
    QCOMPARE(main.column(main.stockList, 3), (QStringList{u"50%"_qs, u"50%"_qs}));
    QCOMPARE(main.column(main.stockList, 4), (QStringList{u"6"_qs, u"6"_qs}));
    QCOMPARE(responder.messages.size(), 1);
    QVERIFY(window->isVisible());
    // Shown again (返回 from the records) the result stays; 库存明细 shows every item again.
    // Emptied, the list would say why: nothing found, or nothing stored yet.
    main.stockPage->showAgain();
    QCOMPARE(main.stockList->model()->rowCount(), 2);
    QVERIFY(main.stockList->placeholderText().startsWith(u"没有找到"_qs));
    main.stockPage->enter();
    QCOMPARE(main.stockList->model()->rowCount(), 2 + 1);
    QVERIFY(main.stockList->placeholderText().startsWith(u"还没有库存"_qs));

    control<QPushButton>(window, u"按钮2"_qs)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());

    // Escape in a field closes the window as well.
    window = new SearchWindow;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(control<ComboBox>(window, u"名称_组合框"_qs)->lineEdit(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void TestStockPage::monthlySummaryFromThePeriod()
{
    TempDataStore store;
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"10"_qs, u"2010-02-20"_qs, u"铝材"_qs);
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"5"_qs, u"2010-03-01"_qs, u"铝材"_qs);
    store.addLine(u"角铝"_qs, u"A1"_qs, out, u"3"_qs, u"2010-03-31"_qs, u"铝材"_qs);
    store.addLine(u"角铝"_qs, u"A1"_qs, in, u"4"_qs, u"2010-04-02"_qs, u"铝材"_qs);
    MainControls main(store.connection());
    MonthlySummaryPage summary(&main.host, store.connection());
    control<QDateEdit>(&main.host, u"formo"_qs)->setDate(QDate(2010, 3, 1));
    control<QDateEdit>(&main.host, u"too"_qs)->setDate(QDate(2010, 3, 31));
    auto* progress = control<QProgressBar>(&main.host, u"进度条1"_qs);

    main.tabs->setCurrentIndex(1);
    summary.buildMonthlySummary();
    QCOMPARE(main.tabs->currentIndex(), 5);
    QCOMPARE(main.summaryList->model()->rowCount(), 1);
    QCOMPARE(main.summaryList->model()->cellTexts().at(0),
             (QStringList{u"1"_qs, u"铝材"_qs, u"角铝"_qs, u"A1"_qs, u"14"_qs, u"16"_qs, u"3"_qs,
                          u"5"_qs}));
    QVERIFY(progress->isHidden());

    // A click on 本月出库 sorts by it as a number (12 before 3), marked as in the stock list.
    store.addLine(u"玻璃"_qs, u"5mm"_qs, in, u"20"_qs, u"2010-02-01"_qs, u"玻璃"_qs);
    store.addLine(u"玻璃"_qs, u"5mm"_qs, out, u"12"_qs, u"2010-03-10"_qs, u"玻璃"_qs);
    summary.buildMonthlySummary();
    emit main.summaryList->headerClicked(SummaryColIssued);
    QCOMPARE(main.summaryList->model()->columnTitle(SummaryColIssued), u"本月出库△"_qs);
    QCOMPARE(main.column(main.summaryList, SummaryColIssued), (QStringList{u"12"_qs, u"3"_qs}));
}

QTEST_MAIN(TestStockPage)
#include "tst_stockpage.moc"
