#include "stock/stockfigures.h"

#include "common/texts.h"
#include "db/connection.h"
#include "stock/stockbalance.h"

namespace mv {

namespace {

// Adds a quantity to the sums of its direction; other directions count nowhere.
void addQuantity(ItemSums& sums, const QString& direction, qint64 total, qint64 inPeriod)
{
    if (direction == directionIn()) {
        sums.in += total;
        sums.periodIn += inPeriod;
    } else if (direction == directionOut()) {
        sums.out += total;
        sums.periodOut += inPeriod;
    }
}

// One aggregate statement with the program's integer reading of the quantities, grouped over
// the columns of a covering index: yclnote(原材料名字, 型号, 正负, 日期, 数量) on SQLite,
// (原材料名字, 型号, 正负, 日期, 数量值) on the server (see Dialect::lineQuantity). On SQLite
// mv_between() compares dates stored as "2010-3-6", "2010/03/06" or "2010年3月6日" in the ISO
// form of the period's bounds (see Dialect::dateBetween).
std::optional<QHash<ItemKey, ItemSums>> aggregateInDatabase(Connection& connection,
                                                            const std::optional<Period>& period,
                                                            const GroupProgress& progress)
{
    std::unique_ptr<ResultSet> groups =
        connection.query(itemSumsStatement(connection.dialect(), period), true);
    if (!groups)
        return std::nullopt;
    QHash<ItemKey, ItemSums> sums;
    int seen = 0;
    for (; !groups->eof(); groups->next()) {
        // The database sums while the groups are read: report how far it has come.
        if (progress && ++seen % 256 == 0)
            progress(seen);
        // A NULL name or model never equals a quoted value, so such lines count for no item.
        const QVariant name = groups->value(0);
        const QVariant model = groups->value(1);
        if (name.isNull() || model.isNull())
            continue;
        addQuantity(sums[itemKey(name.toString(), model.toString())], groups->field(2),
                    groups->value(3).toLongLong(), groups->value(4).toLongLong());
    }
    return sums;
}

} // namespace

QString itemSumsStatement(const Dialect& dialect, const std::optional<Period>& period)
{
    const QString quantity = dialect.lineQuantity();
    const QString periodSum =
        period ? u"SUM(CASE WHEN "_qs + dialect.dateBetween(u"日期"_qs, period->from, period->to) +
                     u" THEN "_qs + quantity + u" ELSE 0 END)"_qs
               : u"0"_qs;
    return u"SELECT 原材料名字, 型号, 正负, SUM("_qs + quantity + u"), "_qs + periodSum +
           u" FROM yclnote WHERE 正负 IN ('入库', '出库')"
           u" GROUP BY 原材料名字, 型号, 正负"_qs;
}

std::optional<QHash<ItemKey, ItemSums>> allItemSums(Connection& connection,
                                                    const std::optional<Period>& period,
                                                    const GroupProgress& progress)
{
    return aggregateInDatabase(connection, period, progress);
}

QString stockItemsStatement()
{
    return u"SELECT 分类, 原材料名字, 单位, 型号 FROM yclnote GROUP BY 分类, 原材料名字, 单位, 型号"_qs;
}

namespace {

// The four columns of a stock item folded as the item columns compare.
bool sameItem(const StockItem& a, const StockItem& b)
{
    return foldLatinCase(a.name) == foldLatinCase(b.name) &&
           foldLatinCase(a.model) == foldLatinCase(b.model) &&
           foldLatinCase(a.category) == foldLatinCase(b.category) &&
           foldLatinCase(a.unit) == foldLatinCase(b.unit);
}

// The server's order of the groups: by item key as SQLite's index has them (NULL first), then
// by the first stored line, so that of several spellings of one item the first one entered
// names it, as on SQLite.
QString serverItemOrder(const Dialect& dialect)
{
    QStringList terms;
    for (const QString& column : {u"分类"_qs, u"原材料名字"_qs, u"单位"_qs, u"型号"_qs})
        terms.append(dialect.itemKey(column) + u" NULLS FIRST"_qs);
    return u" ORDER BY "_qs + terms.join(u", "_qs) + u", min(rowid)"_qs;
}

} // namespace

std::optional<QList<StockItem>> queryStockItems(Connection& connection, const QString& statement,
                                                const QVariantList& values)
{
    // SQLite hands the groups out in the order of their key (it groups along the index);
    // other databases group by hashing, so the order is asked for there.
    const bool server = connection.dialect().backend() == Dialect::Postgres;
    const bool ordered = !server || statement.contains(u"ORDER BY"_qs, Qt::CaseInsensitive);
    std::unique_ptr<ResultSet> groups = connection.query(
        ordered ? statement : statement + serverItemOrder(connection.dialect()), values, true);
    if (!groups)
        return std::nullopt;
    QList<StockItem> items;
    for (; !groups->eof(); groups->next()) {
        StockItem item{groups->field(0), groups->field(1), groups->field(2), groups->field(3)};
        if (server && !items.isEmpty() && sameItem(items.last(), item))
            continue;
        items.append(std::move(item));
    }
    return items;
}

} // namespace mv
