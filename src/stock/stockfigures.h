#pragma once
// Stock figures of every item in one pass over the movement lines, instead of two (list)
// or six (summary) queries per item. The figures equal those of StockBalance() and
// PeriodQuantity() item by item.

#include "stock/itemkey.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace mv {

class Connection;
class Dialect;

// Exact sums of integer(数量) per direction; the period sums only count lines dated within
// the period (both ends included).
struct ItemSums
{
    qint64 in = 0;
    qint64 out = 0;
    qint64 periodIn = 0;
    qint64 periodOut = 0;
};

struct Period
{
    QDate from;
    QDate to;
};

// Called now and then with the number of (name, model, direction) groups summed so far.
using GroupProgress = std::function<void(int groups)>;

// The aggregate statement allItemSums() runs where the backend has mv_int(): per name, model
// and direction the total and the period's total (0 without a period).
QString itemSumsStatement(const Dialect& dialect, const std::optional<Period>& period = {});

// The sums of every item that has lines. Items are matched as the per-item statements
// compare 原材料名字 and 型号 with quoted values: by text, Latin letter case aside. nullopt
// when the database could not be read (its error in the connection's lastError()).
std::optional<QHash<ItemKey, ItemSums>> allItemSums(Connection& connection,
                                                    const std::optional<Period>& period = {},
                                                    const GroupProgress& progress = {});

// One row of the stock list before its figure is known.
struct StockItem
{
    QString category;
    QString name;
    QString unit;
    QString model;
};

// "SELECT 分类, 原材料名字, 单位, 型号 FROM yclnote GROUP BY 分类, 原材料名字, 单位, 型号"
QString stockItemsStatement();
// The items of a statement that selects 分类, 原材料名字, 单位, 型号 grouped by those columns,
// with values bound to its placeholders, ordered by item key. On a server the columns group
// by their exact text; spellings of one item that differ only in Latin letter case then come
// next to each other and are taken as one item, as SQLite's grouping does. nullopt when the
// database could not be read.
std::optional<QList<StockItem>> queryStockItems(Connection& connection, const QString& statement,
                                                const QVariantList& values = {});

} // namespace mv
