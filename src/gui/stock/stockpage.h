#pragma once
// The stock page (超级列表框1, page 1) and the movement page (超级列表框2, page 2) of the
// main window: filling, movement records, deletion, the 导入 menu items of this module and
// the header clicks of both lists.
//
// MainWindow creates one StockPage and calls its public slots:
//   refresh()                          at start-up, after every document save, modification
//                                      or deletion (and 导入 > 刷新, wired here)
//   showContextMenuForSelection(pos)   toolbar 出入记录: the 导入 menu at pos when a stock row
//                                      is selected, else the "请在下面选择你要查询的物品！" hint
//   deleteSelectedStockRow()           导入 > 删除 (wired here)
// Wired here from the lists: double click on 超级列表框1 -> showMovementRecords(); header
// click on 超级列表框1 -> sortByHeader(); header click on 超级列表框2 -> fillFromYcl().

#include <QObject>
#include <QPoint>

class QAction;
class QLabel;
class QMenu;

namespace mv {

class Connection;
class ReportList;
class StateToolBar;
class TabControl;

class StockPage : public QObject
{
    Q_OBJECT
public:
    // Finds its controls by name among mainWindow's children; the connection must outlive it.
    StockPage(QWidget* mainWindow, Connection& connection);

    ReportList* stockList() const { return m_stockList; }
    ReportList* movementList() const { return m_movementList; }

public slots:
    void refresh();
    void showMovementRecords();
    void deleteSelectedStockRow();
    void showContextMenuForSelection(QPoint globalPos);
    // Header click on the movement list: column 1 or 2 fills the stock list from table ycl.
    void fillFromYcl(int column);
    // Header click on the stock list: alternate sorts with the △/▽ title marks.
    void sortByHeader(int column);

private:
    Connection& m_connection;
    ReportList* m_stockList = nullptr;
    ReportList* m_movementList = nullptr;
    QLabel* m_movementTitle = nullptr;
    TabControl* m_tabs = nullptr;
    StateToolBar* m_auxBar = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace mv
