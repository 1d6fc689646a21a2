#include "common/session.h"
#include "forms/controldef.h"
#include "gui/main/mainwindow.h"
#include "gui/main/toolbarsets.h"
#include "gui/printing/printsettingswindow.h"
#include "gui/printing/reportprint.h"
#include "gui/stock/stockpage.h"
#include "support/expectedtext.h"
#include "support/mainwindowfixture.h"
#include "widgets/documentgrid.h"
#include "widgets/picturebox.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"
#include "widgets/statuspanes.h"
#include "widgets/tabcontrol.h"
#include "widgets/webpanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace mv;
using mv::test::MainWindowFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setUpState();
    void receiptAndRequisitionSets_data();
    void receiptAndRequisitionSets();
    void stockSet();
    void movementsButtonNeedsASelectedRow();
    void bannerAndBackButtons();
    void aboutAndDisabledUserManagement();
    void exitPaths();
    void stockViewsAreWiredIn();
    void layoutFollowsTheWindowSize();

private:
    template <class T> T* control(const char* name) { return m_f->control<T>(name); }
    StateToolBar* aux() { return control<StateToolBar>("辅_工具条"); }

    std::unique_ptr<QWidget> m_login;
    std::unique_ptr<MainWindowFixture> m_f;
};

void TestMainWindow::init()
{
    m_login = std::make_unique<QWidget>();
    m_login->show();
    m_f = std::make_unique<MainWindowFixture>();
    m_f->open(m_login.get());
}

void TestMainWindow::cleanup()
{
    m_f.reset();
    m_login.reset();
}

void TestMainWindow::setUpState()
{
    QCOMPARE(m_f->window->objectName(), QStringLiteral("MainWindow"));
    QVERIFY(m_f->window->windowTitle().startsWith(QStringLiteral("Morvane[单机版]v1.0")));
    auto* status = control<StatusPanes>("状态条1");
    QCOMPARE(status->paneCount(), 2);
    QCOMPARE(status->paneText(0), QStringLiteral("操作：张三"));
    QVERIFY(!status->paneText(1).isEmpty());
    QVERIFY(status->isVisible());

    auto* receipt = control<DocumentGrid>("显示数据");
    const QStringList receiptHeadings{"产品名称", "规格型号", "数量", "单位",
                                      "单价",     "备注",     "总价"};
    for (int c = 0; c < receiptHeadings.size(); ++c)
        QCOMPARE(receipt->cellText(0, c), receiptHeadings.at(c));
    auto* requisition = control<DocumentGrid>("显示数据1");
    const QStringList requisitionHeadings{"产品名称", "规格型号", "数量", "单位", "备注"};
    for (int c = 0; c < requisitionHeadings.size(); ++c)
        QCOMPARE(requisition->cellText(0, c), requisitionHeadings.at(c));

    QVERIFY(aux()->isHidden());
    QVERIFY(m_login->isHidden());
    QCOMPARE(m_f->window->currentPage(), int(PageHome));
    auto* tabs = control<TabControl>("选择夹1");
    QCOMPARE(tabs->x(), 0);
    QCOMPARE(tabs->width(), m_f->window->client()->width());

    // 统计 starts hidden; every other toolbar button starts visible.
    auto* main = control<StateToolBar>("工具条1");
    for (int i = 0; i < main->buttonCount(); ++i)
        QVERIFY2(main->isButtonVisible(i), qPrintable(QString::number(i)));
    for (int i = 0; i < aux()->buttonCount(); ++i)
        QCOMPARE(aux()->isButtonVisible(i), i != AuxSummary);
    // The finished-goods buttons are greyed.
    for (int i : {4, 5, 6})
        QVERIFY(!main->isButtonEnabled(i));

    // The window's own controls start hidden.
    QVERIFY(control<QDateEdit>("formo")->isHidden());
    QVERIFY(control<QDateEdit>("too")->isHidden());
    QVERIFY(control<QPushButton>("搜索_按钮")->isHidden());
    QVERIFY(control<QProgressBar>("进度条1")->isHidden());

    // The home page address arrives from the background thread.
    auto* web = control<WebPanel>("超文本浏览框1");
    QTRY_COMPARE(web->address(), QUrl(QStringLiteral("qrc:/home/index.html")));
    QVERIFY(web->toPlainText().contains(QStringLiteral("欢迎")));
}

void TestMainWindow::receiptAndRequisitionSets_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("plus");
    QTest::addColumn<QString>("minus");
    QTest::addColumn<QString>("grid");
    QTest::newRow("receipt") << 0 << int(PageReceipt) << QStringLiteral("按钮7")
                             << QStringLiteral("按钮2") << QStringLiteral("显示数据");
    QTest::newRow("requisition") << 1 << int(PageRequisition) << QStringLiteral("按钮1")
                                 << QStringLiteral("按钮4") << QStringLiteral("显示数据1");
}

void TestMainWindow::receiptAndRequisitionSets()
{
    QFETCH(int, button);
    QFETCH(int, page);
    QFETCH(QString, plus);
    QFETCH(QString, minus);
    // Start from the stock set, with 统计 shown, to see what the document sets change.
    m_f->window->onMainButton(MainStock);
    aux()->addState(AuxAdd, 4);
    m_f->window->onMainButton(button);

    QCOMPARE(m_f->window->currentPage(), page);
    QVERIFY(aux()->isVisible());
    for (int i = 3; i <= 11; ++i)
        QVERIFY2(aux()->isButtonVisible(i), qPrintable(QString::number(i)));
    QVERIFY(!aux()->isButtonVisible(AuxMovements));
    QVERIFY(!aux()->isButtonVisible(AuxSearch));
    QVERIFY(aux()->isButtonVisible(AuxSummary)); // keeps the state it had
    QVERIFY(!aux()->isButtonEnabled(AuxSave));
    for (int i : {3, 5, 6, 8, 9})
        QVERIFY(aux()->isButtonEnabled(i));
    QVERIFY(aux()->isButtonVisible(0) && aux()->isButtonVisible(1));
    QVERIFY(control<QPushButton>("搜索_按钮")->isHidden());
    QVERIFY(m_f->control<QPushButton>(plus)->isHidden());
    QVERIFY(m_f->control<QPushButton>(minus)->isHidden());

    // The row buttons, shown while a document is edited, stand right of the heading row.
    QFETCH(QString, grid);
    const auto* lines = m_f->control<DocumentGrid>(grid);
    const QRect lastHeading = lines->visualRect(lines->model()->index(0, lines->columnCount() - 1));
    QVERIFY(lines->viewport()->mapTo(lines->parentWidget(), lastHeading.topRight()).x() <
            m_f->control<QPushButton>(plus)->x());
}

void TestMainWindow::stockSet()
{
    m_f->window->onMainButton(MainReceipt);
    m_f->window->onMainButton(MainStock);
    QCOMPARE(m_f->window->currentPage(), int(PageStock));
    QVERIFY(aux()->isVisible());
    for (int i : {AuxSummary, AuxMovements, AuxSearch})
        QVERIFY(aux()->isButtonVisible(i));
    for (int i = 3; i <= 11; ++i)
        QCOMPARE(aux()->isButtonVisible(i), i == AuxSave);
    // 保存 exports the list: shown and enabled; other enabled states are left as they were.
    QVERIFY(aux()->isButtonEnabled(AuxSave));
    QVERIFY(control<QPushButton>("搜索_按钮")->isVisible());
    QVERIFY(control<QDateEdit>("formo")->isVisible());
    QVERIFY(control<QDateEdit>("too")->isVisible());
    auto* list = control<ReportList>("超级列表框1");
    QCOMPARE(list->width(), control<TabControl>("选择夹1")->width() - 15);

    // The finished-goods buttons do nothing.
    for (int i : {4, 5, 6})
        m_f->window->onMainButton(i);
    QCOMPARE(m_f->window->currentPage(), int(PageStock));
    QVERIFY(m_f->responder.messages.isEmpty());

    // 数据设置 opens its modal window and leaves the page as it was.
    QString opened;
    QTimer::singleShot(0, m_f->window.get(), [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = dialog->objectName() + u' ' + dialog->windowTitle();
            dialog->reject();
        }
    });
    m_f->window->onMainButton(MainDataSettings);
    QCOMPARE(opened, u"DatabaseSettingsWindow 数据设置"_qs);
    QCOMPARE(m_f->window->currentPage(), int(PageStock));

    // 预览 opens the print module as 打印 does. On the summary, 打印 opens it for the summary's
    // columns, in a new window rather than the stock list's left open.
    m_f->window->onAuxButton(AuxPreview);
    QWidget* settings = m_f->window->findChild<QWidget*>(u"PrintSettingsWindow"_qs);
    QVERIFY(settings && settings->isVisible());
    m_f->window->onAuxButton(AuxSummary);
    m_f->window->onAuxButton(AuxPrint);
    PrintSettingsWindow* summarySettings = m_f->window->reportPrint()->settingsWindow();
    QVERIFY(summarySettings && summarySettings != settings && summarySettings->isVisible());
    auto* columns = summarySettings->findChild<QListWidget*>(u"显示列表框"_qs);
    QVERIFY(columns && !columns->findItems(u"本月出库"_qs, Qt::MatchExactly).isEmpty());
    // The period, on no row of the summary, heads the page.
    const QString format = u"yyyy年M月d日"_qs;
    QCOMPARE(summarySettings->findChild<QLineEdit*>(u"标题"_qs)->text(),
             u"月度汇总（%1 至 %2）"_qs.arg(control<QDateEdit>("formo")->date().toString(format),
                                            control<QDateEdit>("too")->date().toString(format)));
    summarySettings->close();
}

void TestMainWindow::movementsButtonNeedsASelectedRow()
{
    m_f->window->onMainButton(MainStock);
    auto* list = control<ReportList>("超级列表框1");
    list->model()->clearRows();
    m_f->window->onAuxButton(AuxMovements);
    QCOMPARE(m_f->responder.messages.size(), 1);
    QCOMPARE(m_f->responder.messages.at(0).text, QStringLiteral("请在下面选择你要查询的物品！"));
    QCOMPARE(m_f->responder.messages.at(0).code, 0);
    QCOMPARE(m_f->responder.messages.at(0).title, QStringLiteral("信息："));
    QMenu* menu = m_f->window->built().menus.value(QStringLiteral("导入"));
    QVERIFY(menu && !menu->isVisible());

    list->model()->appendRow({"1", "铝型材", "窗框", "60系列", "5", "支", ""});
    list->setSelectedRow(0);
    m_f->window->onAuxButton(AuxMovements);
    QCOMPARE(m_f->responder.messages.size(), 1); // no further message
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    QTRY_VERIFY(!menu->isVisible());

    // A right click opens the menu on a row, not below the last one.
    emit list->rightClicked(-1, QPoint(10, 10));
    QTest::qWait(50);
    QVERIFY(!menu->isVisible());
    emit list->rightClicked(0, QPoint(10, 10));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();

    // Its records open from the menu; 返回 leads back to the list with 保存 for exporting it.
    control<QAction>("导入_记录")->trigger();
    QCOMPARE(m_f->window->currentPage(), int(PageMovements));
    QTest::mouseClick(control<QPushButton>("按钮3"), Qt::LeftButton);
    QCOMPARE(m_f->window->currentPage(), int(PageStock));
    QVERIFY(aux()->isButtonEnabled(AuxSave));
}

void TestMainWindow::bannerAndBackButtons()
{
    // The banner's text stays above the period pickers that cross its lower half.
    auto* banner = control<PictureBox>("图片框2");
    const QImage ink = banner->pixmap().toImage();
    int lowestInk = -1;
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x)
            if (qAlpha(ink.pixel(x, y)) > 0)
                lowestInk = y;
    QVERIFY(lowestInk >= 0);
    QCOMPARE_LT(banner->y() + lowestInk,
                std::min(control<QDateEdit>("formo")->y(), control<QDateEdit>("too")->y()));

    m_f->window->onMainButton(MainStock);
    QTest::mouseClick(control<PictureBox>("图片框2"), Qt::LeftButton);
    QCOMPARE(m_f->window->currentPage(), int(PageHome));
    QVERIFY(aux()->isHidden());
    m_f->window->onMainButton(MainStock);
    m_f->window->built().menuActions.value(u"帮助_帮助"_qs)->trigger();
    QCOMPARE(m_f->window->currentPage(), int(PageHome));
    QVERIFY(aux()->isHidden());

    // A tab clicked shows its page with the page's own toolbar.
    QTabBar* tabs = control<QTabWidget>("选择夹1")->tabBar();
    const auto clickTab = [tabs](int page) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    };
    m_f->window->onMainButton(MainStock);
    clickTab(PageReceipt);
    QCOMPARE(m_f->window->currentPage(), int(PageReceipt));
    QVERIFY(aux()->isButtonVisible(AuxAdd) && !aux()->isButtonVisible(AuxMovements));
    clickTab(PageMonthly);
    QVERIFY(!aux()->isButtonVisible(AuxAdd) && aux()->isButtonVisible(AuxMovements));
    clickTab(PageHome);
    QVERIFY(aux()->isHidden());
    // A form being typed is shown again as it was left, without a question.
    clickTab(PageReceipt);
    m_f->window->onAuxButton(AuxAdd);
    control<QComboBox>("编辑框_单位入库")->setCurrentText(u"华南"_qs);
    clickTab(PageStock);
    clickTab(PageReceipt);
    QVERIFY(m_f->responder.messages.isEmpty());
    QCOMPARE(control<QComboBox>("编辑框_单位入库")->currentText(), u"华南"_qs);
    QVERIFY(aux()->isButtonEnabled(AuxSave) && !aux()->isButtonEnabled(AuxAdd));

    m_f->window->showPage(PageMovements);
    QTest::mouseClick(control<QPushButton>("按钮3"), Qt::LeftButton);
    QCOMPARE(m_f->window->currentPage(), int(PageStock));

    for (const char* name : {"按钮5", "按钮6"}) {
        auto* back = control<QPushButton>(name);
        m_f->window->showPage(QString::fromUtf8(name) == QStringLiteral("按钮5") ? PageReceipt
                                                                                 : PageRequisition);
        back->show();
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(m_f->window->currentPage(), int(PageMovements));
        QVERIFY(back->isHidden());
    }
}

void TestMainWindow::aboutAndDisabledUserManagement()
{
    QAction* about = m_f->window->built().menuActions.value(QStringLiteral("帮助_关于"));
    QVERIFY(about);
    about->trigger();
    QCOMPARE(m_f->responder.messages.size(), 1);
    QCOMPARE(m_f->responder.messages.at(0).title, QStringLiteral("关于-Morvane"));
    QVERIFY(m_f->responder.messages.at(0).text.startsWith(
        QStringLiteral("本系统专为门窗、幕墙企业设计")));
    QVERIFY(!m_f->responder.messages.at(0).text.contains(QStringLiteral("http")));

    QAction* users = m_f->window->built().menuActions.value(QStringLiteral("用户_用户管理"));
    QVERIFY(users && !users->isEnabled());
}

void TestMainWindow::exitPaths()
{
    QSignalSpy exits(m_f->window.get(), &MainWindow::exitRequested);
    m_f->window->onMainButton(MainExit);
    QCOMPARE(exits.size(), 1);
    m_f->window->built().menuActions.value(QStringLiteral("系统_退出"))->trigger();
    QCOMPARE(exits.size(), 2);
    m_f->window->close();
    QCOMPARE(exits.size(), 3);
    QVERIFY(m_f->responder.messages.isEmpty()); // no confirmation on the way out
}

void TestMainWindow::stockViewsAreWiredIn()
{
    // The stock list is loaded at set-up.
    m_f->store.addLine(QStringLiteral("铝型材"), QStringLiteral("60系列"), QStringLiteral("入库"),
                       QStringLiteral("10"), QStringLiteral("2026-11-02"), QStringLiteral("型材"),
                       QStringLiteral("支"));
    m_f->open(m_login.get());
    auto* list = control<ReportList>("超级列表框1");
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(list->model()->text(0, 4), QStringLiteral("10"));

    // 统计, still shown on a document page after the stock page, summarizes from there too.
    m_f->window->onMainButton(MainStock);
    m_f->window->onMainButton(MainReceipt);
    QVERIFY(aux()->isButtonVisible(AuxSummary));
    m_f->window->onAuxButton(AuxSummary);
    QCOMPARE(m_f->window->currentPage(), int(PageMonthly));
    QCOMPARE(control<ReportList>("超级列表框3")->model()->rowCount(), 1);
    QVERIFY(aux()->isButtonEnabled(AuxSave) && aux()->isButtonVisible(AuxMovements));

    // There 出入记录 pops up the stock menu for the item chosen in the summary, not for the
    // stock row selected out of sight.
    m_f->store.addLine(u"玻璃"_qs, u"5mm"_qs, u"入库"_qs, u"2"_qs, u"2026-11-03"_qs);
    m_f->window->stockPage()->refresh();
    m_f->window->onAuxButton(AuxSummary);
    list->setSelectedRow(list->model()->text(0, 2) == u"玻璃"_qs ? 1 : 0);
    auto* summary = control<ReportList>("超级列表框3");
    summary->setSelectedRow(summary->model()->text(0, 2) == u"玻璃"_qs ? 0 : 1);
    m_f->window->onAuxButton(AuxMovements);
    QCOMPARE(list->model()->text(list->selectedRow(), 2), u"玻璃"_qs);
    QMenu* menu = m_f->window->built().menus.value(u"导入"_qs);
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    // A summary row double-clicked shows that item's records.
    m_f->window->onAuxButton(AuxSummary);
    const int glass = summary->model()->text(0, 2) == u"玻璃"_qs ? 0 : 1;
    emit summary->rowDoubleClicked(glass);
    QCOMPARE(m_f->window->currentPage(), int(PageMovements));
    QVERIFY(control<QLabel>("标签5")->text().contains(u"玻璃"_qs));
    QTest::mouseClick(control<QPushButton>("按钮3"), Qt::LeftButton); // 返回: to the summary
    QCOMPARE(m_f->window->currentPage(), int(PageMonthly));

    // 搜索 and 查询 open one non-modal search window.
    QVERIFY(!m_f->window->searchWindow());
    QTest::mouseClick(control<QPushButton>("搜索_按钮"), Qt::LeftButton);
    QWidget* search = m_f->window->searchWindow();
    QVERIFY(search && search->isVisible());
    QCOMPARE(search->objectName(), QStringLiteral("SearchWindow"));
    QVERIFY(!search->isModal());
    m_f->window->onAuxButton(AuxSearch);
    QCOMPARE(m_f->window->searchWindow(), search);
}

// The controls the layout moves and sizes, at two window sizes, compared with a reviewed dump.
void TestMainWindow::layoutFollowsTheWindowSize()
{
    QWidget* client = m_f->window->client();
    QStringList lines;
    for (const QSize size : {QSize(1000, 700), QSize(1281, 853)}) {
        client->resize(size); // the layout works on the window's client area
        QCOMPARE(client->size(), size);
        lines.append(u"%1x%2"_qs.arg(size.width()).arg(size.height()));
        for (const char* name :
             {"选择夹1", "超级列表框1", "超级列表框2", "超级列表框3", "超文本浏览框1", "外形框3",
              "图片框2", "搜索_按钮", "标签13", "标签14", "显示数据", "显示数据1", "标签2",
              "编辑框_制单人_入库", "标签9", "编辑框_制单人_出库", "标签7", "编辑框_领料人_出库",
              "进度条1"}) {
            const QRect r = control<QWidget>(name)->geometry();
            lines.append(u"  %1 %2,%3 %4x%5"_qs.arg(QString::fromUtf8(name))
                             .arg(r.x())
                             .arg(r.y())
                             .arg(r.width())
                             .arg(r.height()));
        }
    }
    QVERIFY(mv::test::matchesExpected(lines.join(u'\n') + u'\n', u"mainwindow_layout.txt"_qs));

    // Dragged smaller, the window stops at its designed size (or the screen's): below it the
    // banner would cover the toolbar and the documents' header fields would be cut off.
    const WindowDef& def = windowDef(u"MainWindow"_qs);
    const QSize room = m_f->window->screen()->availableSize();
    m_f->window->resize(300, 200);
    QCOMPARE(m_f->window->size(), QSize(def.width, def.height).boundedTo(room));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
