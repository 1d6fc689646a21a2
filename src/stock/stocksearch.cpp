#include "stock/stocksearch.h"

#include "db/builders.h"
#include "db/connection.h"
#include "stock/stockfigures.h"
#include "stock/stocklist.h"

namespace mv {

QString stockSearchStatement(const Dialect& dialect, StockSearchField field)
{
    QString column;
    switch (field) {
    case StockSearchField::Category:
        column = u"分类"_qs;
        break;
    case StockSearchField::Name:
        column = u"原材料名字"_qs;
        break;
    case StockSearchField::Model:
        column = u"型号"_qs;
        break;
    }
    return u"SELECT 分类, 原材料名字, 单位, 型号 FROM yclnote WHERE "_qs +
           dialect.itemLike(column) + u" GROUP BY 分类, 原材料名字, 单位, 型号"_qs;
}

QString stockSearchPattern(const QString& text)
{
    return u'%' + likeLiteral(text.trimmed()) + u'%';
}

QueryOutcome SearchStock(Connection& connection, ReportListModel& list, StockSearchField field,
                         const QString& text)
{
    const QString operation = u"搜索"_qs;
    const std::optional<QList<StockItem>> items = queryStockItems(
        connection, stockSearchStatement(connection.dialect(), field), {stockSearchPattern(text)});
    if (!items)
        return queryFailed(connection, operation);
    std::optional<QHash<ItemKey, ItemSums>> sums;
    if (items->isEmpty())
        sums.emplace();
    else
        sums = allItemSums(connection);
    if (!sums)
        return queryFailed(connection, operation);
    fillStockRows(list, *items, *sums);
    return QueryOutcome::success();
}

} // namespace mv
