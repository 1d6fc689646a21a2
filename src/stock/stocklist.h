#pragma once
// The stock list (超级列表框1): one row per distinct category, name, unit and model of the
// movement lines, with its current stock.

#include "stock/queryoutcome.h"
#include "stock/stockfigures.h"

#include <QList>
#include <QString>
#include <optional>

namespace mv {

class Connection;
class ReportListModel;
struct ReportColumn;

// Column indexes of the stock list.
enum StockListColumn : int
{
    StockColNumber = 0, // 编号: running number
    StockColCategory,   // 库存分类
    StockColName,       // 名称
    StockColModel,      // 型号
    StockColBalance,    // 现存量
    StockColUnit,       // 单位
    StockColRemark,     // 备注: never filled
    StockColumnCount
};

QList<ReportColumn> stockListColumns();

// Replaces the list's rows with the items (datum 0), each with the balance of its name and
// model from the sums. The columns are set
// only when the list has none, so titles (and their sort marks) stay.
void fillStockRows(ReportListModel& list, const QList<StockItem>& items,
                   const QHash<ItemKey, ItemSums>& sums);

// The operation a failed read of the stock list names: "读取库存".
QString readStockOperation();

// Refills the list from yclnote: the item rows in the database's group order and all
// balances from one aggregate query. When the database cannot be read the list keeps its
// rows and the outcome says so.
QueryOutcome RefreshStockList(Connection& connection, ReportListModel& list);

// Refills the list from table ycl ordered by 库存分类 (column 1) or 原材料名字 (column 2);
// any other column does nothing. Each row's datum is ycl.编号. A failed read leaves the rows.
QueryOutcome FillStockListFromYcl(Connection& connection, ReportListModel& list, int column);
// Whether table ycl holds any item (only an imported file or the demonstration data fill it);
// false also when it cannot be read.
bool yclHasItems(Connection& connection);

// "delete from ycl where 编号=" + datum: the number of rows deleted, nullopt when the
// statement failed.
std::optional<int> DeleteStockRowByDatum(Connection& connection, qint64 datum);

} // namespace mv
