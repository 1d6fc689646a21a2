#include "gui/main/mainwindow.h"

#include "common/messages.h"
#include "common/oledate.h"
#include "common/session.h"
#include "db/connection.h"
#include "db/databasechoiceurl.h"
#include "gui/documents/documentpage.h"
#include "gui/documents/documentpages.h"
#include "gui/documents/documentprinting.h"
#include "gui/main/appearance.h"
#include "gui/main/databasemenu.h"
#include "gui/main/mainlayout.h"
#include "gui/main/toolbaricons.h"
#include "gui/printing/reportprint.h"
#include "gui/stock/monthlysummarypage.h"
#include "gui/stock/searchwindow.h"
#include "gui/stock/stockpage.h"
#include "gui/users/passwordwindow.h"
#include "gui/users/usermanagementwindow.h"
#include "users/accounts.h"
#include "widgets/documentgrid.h"
#include "widgets/picturebox.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"
#include "widgets/statuspanes.h"
#include "widgets/stripes.h"
#include "widgets/tabcontrol.h"
#include "widgets/webpanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDateEdit>
#include <QEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <tuple>

namespace mv {

namespace {

const QString kHomePage = QStringLiteral("qrc:/home/index.html");

// Heights of the bands above and below the tab control: the tabs start at 102 and the
// status bar is 20 high, as the window definition has them.
constexpr int kMainToolBarHeight = 72;
constexpr int kAuxToolBarHeight = 30;
constexpr int kStatusBarHeight = 20;

QString aboutText()
{
    return QStringLiteral("本系统专为门窗、幕墙企业设计，管理原材料仓库的采购入库、领料出库、"
                          "库存明细与月度汇总。\n\n"
                          "Morvane[单机版]v1.0\n"
                          "设计与开发：Morvane 开发组\n"
                          "问题与建议请联系贵公司的系统管理员。");
}

} // namespace

MainWindow::MainWindow(Connection& connection, QWidget* loginWindow, QWidget* parent)
    : MainWindow(connection, Unstarted{}, parent)
{
    start(loginWindow);
}

MainWindow::MainWindow(Connection& connection, Unstarted, QWidget* parent)
    : QMainWindow(parent), m_connection(connection)
{
    initResources();
    const WindowDef& def = windowDef(QStringLiteral("MainWindow"));
    setObjectName(def.name);
    setAttribute(Qt::WA_QuitOnClose, false); // the program ends through requestExit()

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("MainWindowClient"));
    setCentralWidget(m_client);
    m_built = buildWindow(def, m_client, menuBar());
    findControls();
    m_client->installEventFilter(this);
    resize(def.width, def.height);
    // Smaller than its design the window would lay the banner over the toolbar and cut off
    // the documents' header fields: it shrinks no further than that, or than the screen.
    QSize least(def.width, def.height);
    if (const QScreen* shown = screen())
        least = least.boundedTo(shown->availableSize());
    setMinimumSize(least);
    move(50, 50);
}

void MainWindow::start(QWidget* loginWindow)
{
    if (m_stockPage)
        return; // started already
    // On a server the title names the database the clerk works on (never with the password).
    const QString caption = windowDef(QStringLiteral("MainWindow")).caption;
    const QString server = serverDescription(m_connection.url());
    setWindowTitle(server.isEmpty() ? caption : caption + u" — 服务器数据库 "_qs + server);
    setUp(loginWindow);
}

MainWindow::~MainWindow()
{
    if (m_homePageThread)
        m_homePageThread->wait();
}

void MainWindow::findControls()
{
    m_mainBar = control<StateToolBar>(m_client, QStringLiteral("工具条1"));
    m_auxBar = control<StateToolBar>(m_client, QStringLiteral("辅_工具条"));
    m_statusBar = control<StatusPanes>(m_client, QStringLiteral("状态条1"));
    m_tabs = control<TabControl>(m_client, QStringLiteral("选择夹1"));
    m_stockList = control<ReportList>(m_client, QStringLiteral("超级列表框1"));
    m_movementList = control<ReportList>(m_client, QStringLiteral("超级列表框2"));
    m_monthlyList = control<ReportList>(m_client, QStringLiteral("超级列表框3"));
    m_webPanel = control<WebPanel>(m_client, QStringLiteral("超文本浏览框1"));
    m_banner = control<PictureBox>(m_client, QStringLiteral("图片框2"));
    m_searchButton = control<QPushButton>(m_client, QStringLiteral("搜索_按钮"));
    m_from = control<QDateEdit>(m_client, QStringLiteral("formo"));
    m_to = control<QDateEdit>(m_client, QStringLiteral("too"));
    m_progress = control<QProgressBar>(m_client, QStringLiteral("进度条1"));
    m_receiptGrid = control<DocumentGrid>(m_client, QStringLiteral("显示数据"));
    m_requisitionGrid = control<DocumentGrid>(m_client, QStringLiteral("显示数据1"));
}

void MainWindow::setUp(QWidget* loginWindow)
{
    setUpStatusBar();
    setUpGridHeadings();
    setUpToolBars();
    setUpMenus();
    setUpBanner();
    setUpPrintPage();
    m_auxBar->hide();
    applyStripedBackground(m_stockList);
    relayout(); // tab left 0, width = window width
    if (loginWindow)
        loginWindow->hide();
    m_statusBar->show();
    m_stockPage = new StockPage(this, m_connection);
    m_monthlyPage = new MonthlySummaryPage(this, m_connection);
    m_documentPages = new DocumentPages(this, m_connection);
    connect(m_documentPages, &DocumentPages::stockChanged, m_stockPage, &StockPage::refresh);
    connect(m_stockPage, &StockPage::documentLineRequested, m_documentPages,
            &DocumentPages::addStockRow);
    // A summary row double-clicked shows the item's records, as a stock row does.
    connect(m_monthlyList, &ReportList::rowDoubleClicked, this, [this](int row) {
        if (row < 0)
            return;
        m_monthlyList->setSelectedRow(row);
        m_stockPage->showMovementRecordsForItem(m_monthlyPage->chosenItem());
    });
    m_savingPages = {{PageStock, m_stockPage},
                     {PageMonthly, m_monthlyPage},
                     {PageReceipt, m_documentPages->receipt()},
                     {PageRequisition, m_documentPages->requisition()}};
    m_reportPrint = new ReportPrint(this);
    m_documentPrinting = new DocumentPrinting(m_connection, *m_reportPrint, this);
    m_stockPage->refresh();
    setUpDatabaseMenu();
    showPage(PageHome);
    startHomePageThread();
    // Asked once the window is up: a document left unsaved when the program last ended.
    QTimer::singleShot(0, m_documentPages, &DocumentPages::offerDrafts);
}

void MainWindow::setUpPrintPage()
{
    // The print tab has nothing of its own: printing starts from the page that shows what is
    // printed. A clerk who looks for it here is told where.
    auto* hint = new QLabel(
        u"打印从要打印的那一页开始：库存明细、月度汇总和出入库记录页点工具栏的“打印”，设置好后"
        "预览并打印；入库单、领料单页点“打印”或“预览”，按单据格式输出当前单据。"_qs,
        m_tabs->page(PagePrint));
    hint->setObjectName(u"打印页提示"_qs);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(20, 20, 880, 60);
}

void MainWindow::setUpStatusBar()
{
    m_statusBar->addPane(100);
    m_statusBar->setPaneText(0, QStringLiteral("操作：") + session().currentUser);
    m_statusBar->addPane(300);
    m_statusBar->setPaneText(1, QStringLiteral("Morvane 开发组 · 原材料仓库管理"));
}

void MainWindow::setUpGridHeadings()
{
    const QStringList receipt{QStringLiteral("产品名称"), QStringLiteral("规格型号"),
                              QStringLiteral("数量"),     QStringLiteral("单位"),
                              QStringLiteral("单价"),     QStringLiteral("备注"),
                              QStringLiteral("总价")};
    const QStringList requisition{QStringLiteral("产品名称"), QStringLiteral("规格型号"),
                                  QStringLiteral("数量"), QStringLiteral("单位"),
                                  QStringLiteral("备注")};
    const auto writeHeadings = [](DocumentGrid* grid, const QStringList& headings) {
        if (grid->columnCount() < headings.size())
            grid->setColumnCount(int(headings.size()));
        if (grid->rowCount() < 1)
            grid->setRowCount(1);
        for (int c = 0; c < headings.size(); ++c)
            grid->setCellText(0, c, headings.at(c));
    };
    writeHeadings(m_receiptGrid, receipt);
    writeHeadings(m_requisitionGrid, requisition);

    // The row buttons "+" and "-" sit in the heading row just right of its last column, as the
    // page was drawn: the columns share the room up to the first button, so that none of the
    // headings lies under the buttons (the receipt's seven columns would reach past them).
    const auto fitColumnsBefore = [this](DocumentGrid* grid, const QString& button) {
        const int room =
            control<QPushButton>(m_client, button)->x() - grid->x() - grid->frameWidth();
        QHeaderView* header = grid->horizontalHeader();
        if (room > 0 && grid->columnCount() > 0)
            header->setDefaultSectionSize(
                std::min(header->defaultSectionSize(), room / grid->columnCount()));
    };
    fitColumnsBefore(m_receiptGrid, QStringLiteral("按钮7"));
    fitColumnsBefore(m_requisitionGrid, QStringLiteral("按钮1"));
}

void MainWindow::setUpToolBars()
{
    m_mainBar->setButtonTooltip(MainReceipt, QStringLiteral("原材料仓库 采购入库"));
    m_mainBar->setButtonTooltip(MainRequisition, QStringLiteral("原材料仓库 领料出库"));
    m_mainBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_mainBar->setIconSize(QSize(24, 24));
    // Narrow buttons keep the main toolbar clear of the period pickers beside it.
    m_mainBar->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; } QToolButton { padding: 1px 0px; margin: 0px; } "
                       "QToolBar::separator { width: 5px; }"));
    applyToolBarIcons(*m_mainBar, *m_auxBar);
    // The finished-goods buttons are drawn greyed and do nothing.
    for (int i : {MainGoodsIn, MainGoodsOut, MainGoodsDetails})
        m_mainBar->addState(i, kButtonDisabled);
    // The keys a desktop user tries first, on the buttons' own actions: a hidden or greyed
    // button takes no key either, and the key does what the click does.
    for (const auto& [button, key, tip] :
         {std::tuple{AuxPrint, QKeySequence::Print, u"打印（Ctrl+P）"_qs},
          {AuxAdd, QKeySequence::New, u"添加（Ctrl+N）"_qs},
          {AuxSave, QKeySequence::Save, u"保存（Ctrl+S）"_qs}}) {
        m_auxBar->buttonAction(button)->setShortcut(key);
        m_auxBar->setButtonTooltip(button, tip);
    }
    // 统计 starts hidden; every other button starts visible.
    m_auxBar->addState(AuxSummary, kButtonHidden);
    m_auxBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_auxBar->setIconSize(QSize(16, 16));

    connect(m_mainBar, &StateToolBar::buttonClicked, this, &MainWindow::onMainButton);
    connect(m_auxBar, &StateToolBar::buttonClicked, this, &MainWindow::onAuxButton);
    connect(m_searchButton, &QPushButton::clicked, this, &MainWindow::openSearchWindow);

    // The records' 返回 leads back to the list they were opened from: the stock list, or the
    // month summary whose row was double-clicked. Its toolbar is the list's again: the records
    // page disables the document buttons, 保存 among them, which on the list exports it.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == PageMovements && (m_shownPage == PageStock || m_shownPage == PageMonthly))
            m_recordsFrom = m_shownPage;
        m_shownPage = page;
    });
    connect(control<QPushButton>(m_client, QStringLiteral("按钮3")), &QPushButton::clicked, this,
            [this] {
                applySet(ButtonSet::Stock);
                showPage(m_recordsFrom);
            });
    // A document opened from the records goes back to them.
    for (const QString& name : {QStringLiteral("按钮5"), QStringLiteral("按钮6")}) {
        auto* button = control<QPushButton>(m_client, name);
        connect(button, &QPushButton::clicked, this, [this, button] {
            showPage(PageMovements);
            button->hide();
        });
    }
    // Otherwise the page clicked showed under the toolbar of the page left, whose buttons did
    // nothing there (保存 on a receipt page reached from the stock list, for one).
    connect(m_tabs, &QTabWidget::tabBarClicked, this, &MainWindow::enterClickedPage);
}

void MainWindow::setUpMenus()
{
    const auto action = [this](const QString& key) { return control<QAction>(this, key); };
    connect(action(QStringLiteral("系统_退出")), &QAction::triggered, this,
            &MainWindow::requestExit);
    connect(action(QStringLiteral("系统_重新登录")), &QAction::triggered, this,
            &MainWindow::requestLogInAgain);
    connect(action(QStringLiteral("帮助_关于")), &QAction::triggered, this, &MainWindow::showAbout);
    // The home page is the program's guide.
    connect(action(QStringLiteral("帮助_帮助")), &QAction::triggered, this, &MainWindow::showHome);
    connect(action(QStringLiteral("用户_修改密码")), &QAction::triggered, this,
            &MainWindow::changePassword);
    QAction* userManagement = action(QStringLiteral("用户_用户管理"));
    userManagement->setEnabled(isAdministrator(m_connection, session().currentUser));
    connect(userManagement, &QAction::triggered, this, [this] {
        auto* window = new UserManagementWindow(m_connection, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show(); // modal: the main window is inert meanwhile
    });
}

void MainWindow::setUpDatabaseMenu()
{
    auto* menu = new DatabaseMenu(m_connection, this);
    connect(control<QAction>(this, QStringLiteral("系统_数据设置")), &QAction::triggered, this,
            [this] { openDatabaseSettings(m_connection, this); });
    connect(control<QAction>(this, QStringLiteral("系统_数据备份")), &QAction::triggered, menu,
            &DatabaseMenu::backUp);
    // A restore replaces the accounts too: the administrator's alone (the core refuses others).
    QAction* restore = control<QAction>(this, QStringLiteral("系统_数据恢复"));
    restore->setEnabled(isAdministrator(m_connection, session().currentUser));
    // The restore drops a form being typed: not without the clerk's word.
    connect(restore, &QAction::triggered, menu, [this, menu] {
        if (confirmLeaving(QStringLiteral("恢复数据")))
            menu->restore();
    });
    // After a restore every list shows the restored data: the stock list is reloaded, the
    // lists computed from the old data are emptied, a document page on show is entered
    // afresh (latest restored document, read-only; a form being edited belonged to the
    // replaced data), the other one is when it is shown next, and the other pages hear of it.
    connect(menu, &DatabaseMenu::dataReplaced, this, [this] {
        m_documentPages->dataReplaced();
        m_stockPage->dataReplaced();
        m_monthlyPage->dataReplaced();
        if (currentPage() == PageReceipt)
            onMainButton(MainReceipt);
        else if (currentPage() == PageRequisition)
            onMainButton(MainRequisition);
        emit databaseReplaced();
    });
}

void MainWindow::setUpBanner()
{
    m_banner->setPixmap(bannerPicture(m_banner->size()));
    m_banner->setCursor(Qt::PointingHandCursor);
    connect(m_banner, &PictureBox::leftButtonDown, this, &MainWindow::showHome);
    // The period pickers start at the first of this month and today.
    const QDate today = clockToday();
    m_from->setDate(QDate(today.year(), today.month(), 1));
    m_to->setDate(today);
}

void MainWindow::startHomePageThread()
{
    // The home page address is set from one background thread. The thread only posts the
    // request to the application object; the panel is looked up on the GUI thread, so a
    // window closed meanwhile is simply skipped.
    QPointer<WebPanel> panel = m_webPanel;
    m_homePageThread.reset(QThread::create([panel] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [panel] {
                if (panel)
                    panel->setAddress(QUrl(kHomePage));
            },
            Qt::QueuedConnection);
    }));
    m_homePageThread->start();
}

int MainWindow::currentPage() const
{
    return m_tabs->currentIndex();
}

void MainWindow::showPage(int page)
{
    m_tabs->setCurrentIndex(page);
}

void MainWindow::showHome()
{
    showPage(PageHome);
    m_auxBar->hide();
}

void MainWindow::enterClickedPage(int page)
{
    if (page == currentPage())
        return;
    switch (page) {
    case PageStock:
        onMainButton(MainStock);
        break;
    case PageReceipt:
    case PageRequisition:
        applySet(page == PageReceipt ? ButtonSet::Receipt : ButtonSet::Requisition);
        m_auxBar->show();
        showPage(page);
        m_documentPages->onPage(page)->reshow();
        break;
    case PageMovements:
    case PageMonthly: // the stock page's own pages, with its toolbar
        applySet(ButtonSet::Stock);
        m_auxBar->show();
        showPage(page);
        // The list, rather than the period picker that appears with the page and would take
        // the next digit typed as its year.
        (page == PageMovements ? m_movementList : m_monthlyList)->setFocus();
        break;
    default: // the home page and the empty print page have no toolbar
        showPage(page);
        m_auxBar->hide();
        break;
    }
}

void MainWindow::applySet(ButtonSet set)
{
    applyButtonSet(*m_auxBar, set);
    const bool stock = set == ButtonSet::Stock;
    m_searchButton->setVisible(stock);
    if (stock) {
        m_from->show();
        m_to->show();
    }
    const auto hideControl = [this](const QString& name) {
        if (QWidget* w = m_built.controls.value(name))
            w->hide();
    };
    if (set == ButtonSet::Receipt) {
        hideControl(QStringLiteral("按钮7"));
        hideControl(QStringLiteral("按钮2"));
    } else if (set == ButtonSet::Requisition) {
        hideControl(QStringLiteral("按钮1"));
        hideControl(QStringLiteral("按钮4"));
    }
}

void MainWindow::onMainButton(int index)
{
    switch (index) {
    case MainReceipt:
        applySet(ButtonSet::Receipt);
        showPage(PageReceipt);
        m_stockList->resize(m_tabs->width() - 15, m_stockList->height());
        m_documentPages->receipt()->enter();
        break;
    case MainRequisition:
        applySet(ButtonSet::Requisition);
        showPage(PageRequisition);
        m_documentPages->requisition()->enter();
        break;
    case MainStock:
        applySet(ButtonSet::Stock);
        showPage(PageStock);
        m_stockPage->enter(); // what other clerks committed meanwhile shows
        m_stockList->resize(m_tabs->width() - 15, m_stockList->height());
        m_stockList->setFocus(); // rather than the period pickers that appear with the page
        break;
    case MainExit:
        requestExit();
        return;
    case MainDataSettings:
        openDatabaseSettings(m_connection, this);
        return;
    default:
        return; // 成品 buttons do nothing
    }
    m_auxBar->show();
}

void MainWindow::onAuxButton(int index)
{
    switch (index) {
    case AuxSave:
        // The page shown decides: a document page saves its form, a list page exports.
        if (SavingPage* page = m_savingPages.value(currentPage()))
            page->save();
        break;
    case AuxPrint:
    case AuxPreview:
        printPage(index == AuxPreview);
        break;
    case AuxSummary:
        // The button stays on a document page after the stock page: from there the summary
        // comes with the stock page's toolbar, as when its tab is clicked.
        if (currentPage() != PageStock && currentPage() != PageMonthly)
            applySet(ButtonSet::Stock);
        m_monthlyPage->buildMonthlySummary();
        break;
    case AuxMovements:
        // On the month summary the menu acts on the item chosen there, never on a row of the
        // stock list, which is not on show.
        if (currentPage() == PageMonthly)
            m_stockPage->showContextMenuForItem(QCursor::pos(), m_monthlyPage->chosenItem());
        else
            m_stockPage->showContextMenuForSelection(QCursor::pos());
        break;
    case AuxSearch:
        openSearchWindow();
        break;
    default:
        // The document buttons act on the page shown; print and export have their own modules.
        if (DocumentPage* page = m_documentPages->onPage(currentPage()))
            page->onAuxButton(index);
        break;
    }
}

void MainWindow::printPage(bool preview)
{
    if (DocumentPage* page = m_documentPages->onPage(currentPage())) {
        const PrintedDocument document = page->printedDocument();
        preview ? m_documentPrinting->preview(document) : m_documentPrinting->print(document);
        return;
    }
    switch (currentPage()) {
    case PageStock:
        // The print module starts with its settings, from which the list is previewed: 预览
        // leads there as 打印 does.
        m_reportPrint->OpenReportPrint(m_stockList, 0, QString(), QString());
        break;
    case PageMonthly:
        m_monthlyPage->print(*m_reportPrint);
        break;
    case PageMovements:
        m_stockPage->printMovements(*m_reportPrint);
        break;
    default:
        break;
    }
}

void MainWindow::openSearchWindow()
{
    // One non-modal search window at a time; it destroys itself when closed.
    if (!m_searchWindow) {
        auto* window = new SearchWindow(this);
        connect(window, &SearchWindow::searchRequested, m_stockPage, &StockPage::showSearchResults);
        m_searchWindow = window;
    }
    m_searchWindow->show();
    m_searchWindow->raise();
    m_searchWindow->activateWindow();
}

void MainWindow::changePassword()
{
    PasswordWindow window(m_connection, this);
    window.exec();
}

void MainWindow::showAbout()
{
    msgBox(aboutText(), MsgOkInfo, QStringLiteral("关于-Morvane"));
}

bool MainWindow::confirmLeaving(const QString& leaving)
{
    if (m_exiting || !m_documentPages || !m_documentPages->hasUnsavedDocument())
        return true;
    return msgBox(QStringLiteral("当前单据尚未保存，确定要%1吗？").arg(leaving), MsgYesNo,
                  QStringLiteral("询问")) == AnswerYes;
}

bool MainWindow::confirmExit()
{
    return confirmLeaving(QStringLiteral("退出"));
}

void MainWindow::requestLogInAgain()
{
    if (!confirmLeaving(QStringLiteral("重新登录")))
        return;
    m_exiting = true;                // this window goes: closing it asks nothing more
    m_documentPages->abandonEdits(); // with the clerk's word: no draft to offer back
    emit logInAgainRequested();
}

void MainWindow::finishExit()
{
    m_exiting = true; // quitting closes every window again: the answer given stands
    if (m_documentPages)
        m_documentPages->abandonEdits(); // with the clerk's word: no draft to offer back
    emit exitRequested();
    QCoreApplication::quit();
}

void MainWindow::requestExit()
{
    if (confirmExit())
        finishExit(); // otherwise the form stays as it was
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!confirmExit()) {
        event->ignore();
        return;
    }
    event->accept();
    finishExit();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        relayout();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::relayout()
{
    const int width = m_client->width();
    const int height = m_client->height();
    MainLayoutInput in;
    in.windowWidth = width;
    in.windowHeight = height;
    in.toolBarHeight = kMainToolBarHeight;
    in.auxToolBarHeight = kAuxToolBarHeight;
    in.statusBarHeight = kStatusBarHeight;
    in.statusBarTop = height - kStatusBarHeight;
    in.bannerWidth = m_banner->width();
    in.searchButtonWidth = m_searchButton->width();
    in.receiptTitleWidth = m_built.controls.value(QStringLiteral("标签13"))->width();
    in.movementTitleBarHeight = m_built.controls.value(QStringLiteral("外形框3"))->height();
    in.receiptFrameHeight = m_built.controls.value(QStringLiteral("外形框1"))->height();
    in.receiptGridLeft = m_receiptGrid->x();
    in.receiptGridTop = m_receiptGrid->y();
    in.requisitionGridLeft = m_requisitionGrid->x();
    const MainLayout out = computeMainLayout(in);

    // The bands: main toolbar, auxiliary toolbar, tab control, status bar.
    m_mainBar->setGeometry(0, 0, std::min(width, m_mainBar->sizeHint().width()),
                           kMainToolBarHeight);
    m_auxBar->setGeometry(0, kMainToolBarHeight, width, kAuxToolBarHeight);
    m_tabs->setGeometry(0, kMainToolBarHeight + kAuxToolBarHeight, out.tabWidth,
                        std::max(0, out.tabHeight));
    m_statusBar->setGeometry(0, in.statusBarTop, width, kStatusBarHeight);

    for (const char* name : {"外形框1", "外形框2", "外形框3"}) {
        QWidget* bar = m_built.controls.value(QString::fromUtf8(name));
        bar->resize(out.titleBarWidth, bar->height());
    }
    m_stockList->resize(out.stockListWidth, out.stockListHeight);
    m_movementList->resize(out.movementListWidth, out.movementListHeight);
    m_monthlyList->resize(out.stockListWidth, out.stockListHeight);
    m_webPanel->resize(out.stockListWidth, out.stockListHeight);

    m_banner->move(out.bannerLeft, m_banner->y());
    m_searchButton->move(out.searchButtonLeft, m_searchButton->y());
    for (const char* name : {"标签13", "标签14"}) {
        QWidget* label = m_built.controls.value(QString::fromUtf8(name));
        label->move(out.titleLabelLeft, label->y());
    }

    m_receiptGrid->resize(out.receiptGridWidth, out.gridHeight);
    m_requisitionGrid->resize(out.requisitionGridWidth, out.gridHeight);
    for (const char* name :
         {"标签2", "标签9", "编辑框_制单人_出库", "标签7", "编辑框_领料人_出库"}) {
        QWidget* w = m_built.controls.value(QString::fromUtf8(name));
        w->move(w->x(), out.footerTop);
    }
    QWidget* maker = m_built.controls.value(QStringLiteral("编辑框_制单人_入库"));
    maker->move(maker->x(), out.makerEditTop);

    m_progress->setGeometry(out.progressLeft, out.progressTop, out.progressWidth,
                            m_progress->height());

    // Controls that belong to the window itself stay above the bands.
    m_banner->raise();
    m_from->raise();
    m_to->raise();
    m_searchButton->raise();
    m_progress->raise();
}

} // namespace mv
