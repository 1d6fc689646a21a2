#pragma once
// The main window: tab pages, the two toolbars, menus, status bar, layout on resizing, and
// the dispatch of every toolbar button and menu item to the module that does the work.

#include "forms/windowbuilder.h"
#include "gui/main/mainpages.h"
#include "gui/main/toolbarsets.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QThread>
#include <memory>

class QDateEdit;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace mv {

class Connection;
class DocumentGrid;
class PictureBox;
class ReportList;
class StateToolBar;
class StatusPanes;
class TabControl;
class WebPanel;
class StockPage;
class SearchWindow;
class MonthlySummaryPage;
class DocumentPages;
class ReportPrint;
class DocumentPrinting;
class SavingPage;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Builds the window and starts it (see start()).
    MainWindow(Connection& connection, QWidget* loginWindow, QWidget* parent = nullptr);
    // Only builds the window's controls, which needs no database: the login window has it
    // built while the clerk types, and starts it after the login.
    struct Unstarted
    {
    };
    MainWindow(Connection& connection, Unstarted, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Sets the window up for the logged-in clerk on the open database and shows the stock;
    // loginWindow is hidden, and stays alive because it owns the connection. Once only.
    void start(QWidget* loginWindow);

    Connection& connection() { return m_connection; }
    QWidget* client() const { return m_client; }
    const BuiltWindow& built() const { return m_built; }
    int currentPage() const;
    void showPage(int page);
    // The home page with its guide, without a page's toolbar (the banner, 帮助 → 帮助).
    void showHome();

    // Re-applies the layout for the current size (also done on every size change).
    void relayout();

    StockPage* stockPage() const { return m_stockPage; }
    DocumentPages* documentPages() const { return m_documentPages; }
    ReportPrint* reportPrint() const { return m_reportPrint; }
    QWidget* searchWindow() const { return m_searchWindow; }

public slots:
    void onMainButton(int index);
    void onAuxButton(int index);
    void openSearchWindow();
    // 打印 / 预览: the document shown, the stock list through the print module; the other
    // lists say how they are printed instead of doing nothing.
    void printPage(bool preview);
    void changePassword(); // the modal PasswordWindow
    void showAbout();
    // Ends the program; while a document being added or modified has unsaved changes, only
    // when the clerk confirms.
    void requestExit();
    // 重新登录: once the clerk confirms leaving a document with unsaved changes, asks the login
    // window to take over (see logInAgainRequested()).
    void requestLogInAgain();

signals:
    // Emitted when the program is asked to end (close, 退出, toolbar button 9).
    void exitRequested();
    // The clerk chose 重新登录: the login window shows again and this window is to go.
    void logInAgainRequested();
    // A restore replaced the data of the open database: pages showing data reload it.
    void databaseReplaced();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void findControls();
    void setUp(QWidget* loginWindow);
    void setUpStatusBar();
    void setUpGridHeadings();
    void setUpToolBars();
    void setUpMenus();
    void setUpBanner();
    void setUpPrintPage();
    void setUpDatabaseMenu();
    void startHomePageThread();
    // A tab clicked: its page is shown with its own toolbar, as the main toolbar's button
    // shows it; a document page as it was left.
    void enterClickedPage(int page);
    void applySet(ButtonSet set);
    // Asks "当前单据尚未保存，确定要<leaving>吗？" when a document has unsaved changes; true
    // when it may be left.
    bool confirmLeaving(const QString& leaving);
    bool confirmExit();
    void finishExit();

    Connection& m_connection;
    QWidget* m_client = nullptr;
    BuiltWindow m_built;

    StateToolBar* m_mainBar = nullptr;
    StateToolBar* m_auxBar = nullptr;
    StatusPanes* m_statusBar = nullptr;
    TabControl* m_tabs = nullptr;
    ReportList* m_stockList = nullptr;
    ReportList* m_movementList = nullptr;
    ReportList* m_monthlyList = nullptr;
    WebPanel* m_webPanel = nullptr;
    PictureBox* m_banner = nullptr;
    QPushButton* m_searchButton = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QProgressBar* m_progress = nullptr;
    DocumentGrid* m_receiptGrid = nullptr;
    DocumentGrid* m_requisitionGrid = nullptr;

    StockPage* m_stockPage = nullptr;
    ReportPrint* m_reportPrint = nullptr;
    DocumentPrinting* m_documentPrinting = nullptr;
    MonthlySummaryPage* m_monthlyPage = nullptr;
    DocumentPages* m_documentPages = nullptr;
    QHash<int, SavingPage*> m_savingPages; // by tab page: the pages 保存 acts on
    QPointer<QWidget> m_searchWindow;      // the non-modal SearchWindow while open
    int m_shownPage = PageHome;            // the tab page shown
    int m_recordsFrom = PageStock; // the list (stock or summary) the records were opened from
    std::unique_ptr<QThread> m_homePageThread;
    bool m_exiting = false; // the program ends: nothing more is asked
};

} // namespace mv
