#pragma once
// The stock page (超级列表框1, page 1) and the movement page (超级列表框2, page 2) of the
// main window. The page owns the rows of both lists and the stock list's menu 导入: others ask
// it through its slots and hear from it through its signals.
//
// MainWindow creates one StockPage and calls its public slots:
//   refresh()                          at start-up, after every document save, modification
//                                      or deletion (and 导入 > 刷新, wired here)
//   enter()                            库存明细 (showAgain() for 返回 on the movement page is
//                                      wired here)
//   showContextMenuForSelection(pos)   toolbar 出入记录: the 导入 menu at pos when a stock row
//                                      is selected, else the "请在下面选择你要查询的物品！" hint
//   showContextMenuForItem(pos, item)  the same on the month summary, for its chosen item
//   showSearchResults(field, text)     the search window's 搜索
//   save()                             保存 while the page is shown: the list export
//   dataReplaced()                     after a restore
// Wired here from the lists and the menu: a right click on a row of 超级列表框1 pops up 导入;
// a double click on it -> showMovementRecords(); its header click -> sortByHeader(); a header
// click on 超级列表框2 -> fillFromYcl(); 导入 > 删除 -> deleteSelectedStockRow(); 导入 > 入库 /
// 领料 -> documentLineRequested().
// A list whose query fails keeps its rows: the message names the operation and the database's
// error, and the page's caption says the rows are not refreshed until a later read succeeds.

#include "documents/document.h"
#include "gui/main/savingpage.h"
#include "stock/itemkey.h"
#include "stock/queryoutcome.h"
#include "stock/stockfigures.h"
#include "stock/stocksearch.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace mv {

class Connection;
class ReportList;
class ReportPrint;
class StateToolBar;
class TabControl;

class StockPage : public QObject, public SavingPage
{
    Q_OBJECT
public:
    // Finds its controls by name among mainWindow's children; the connection must outlive it.
    StockPage(QWidget* mainWindow, Connection& connection);

    ReportList* stockList() const { return m_stockList; }
    ReportList* movementList() const { return m_movementList; }

    // 保存: exports the stock list as the sheet 库存.
    void save() override;
    // 打印/预览 on the records page: the print module on the records of the item shown, with
    // settings of their own and the item as the title; without records, says how to get some.
    void printMovements(ReportPrint& module);

signals:
    // 导入 > 入库 / 领料: a new line of that kind of document for the selected stock row.
    void documentLineRequested(DocumentKind kind, const StockItem& item);

public slots:
    void refresh();
    // The stock page entered (库存明细): every item, so a search result or the item table's
    // rows give way to the stock list; the stock list itself is read again only as showAgain()
    // reads it.
    void enter();
    // The stock page shown again (返回 from the records): the list as it was left, read again
    // when anything was committed since it was filled (here or by another copy of the
    // program) or its last read failed.
    void showAgain();
    // The items whose field contains text, in place of the stock list's rows.
    void showSearchResults(StockSearchField field, const QString& text);
    // The data were replaced: the stock list is reloaded and the movement records emptied.
    void dataReplaced();
    void showMovementRecords();
    void deleteSelectedStockRow();
    void showContextMenuForSelection(QPoint globalPos);
    // The same for an item chosen on another page (the month summary): its stock row is
    // selected first, so that the menu acts on the item the clerk sees chosen; a hint when
    // none is chosen or the stock list does not hold it (a search result shown).
    void showContextMenuForItem(QPoint globalPos, const std::optional<ItemKey>& item);
    // The movement records of an item chosen on another page (a row of the month summary
    // double-clicked), as a double click on its stock row shows them.
    void showMovementRecordsForItem(const std::optional<ItemKey>& item);
    // Header click on the movement list: column 1 or 2 fills the stock list from table ycl.
    void fillFromYcl(int column);
    // Header click on the stock list: alternate sorts with the △/▽ title marks.
    void sortByHeader(int column);

private:
    // The stock tab's caption ends in "（搜索结果）" while the list holds search results.
    void markSearchResults(bool shown);
    void requestDocumentLine(DocumentKind kind);
    // Selects the stock row of an item chosen elsewhere; a hint and false when none is chosen
    // or the stock list does not hold it.
    bool selectItem(const std::optional<ItemKey>& item);
    void showRecordsHint();
    // Fills the stock list through fill and notes the change count it shows; a failure is
    // said and marks the page.
    void fillStockList(const std::function<QueryOutcome()>& fill);

    Connection& m_connection;
    ReportList* m_stockList = nullptr;
    ReportList* m_movementList = nullptr;
    QLabel* m_movementTitle = nullptr;
    TabControl* m_tabs = nullptr;
    StateToolBar* m_auxBar = nullptr;
    QMenu* m_menu = nullptr;
    QProgressBar* m_progress = nullptr;
    std::optional<qint64> m_filledAt; // the change count the stock list shows; none: unknown
    bool m_showsAllItems = false;     // not a search result nor the item table's rows
};

} // namespace mv
