#include "stock/stocksearch.h"

#include "db/builders.h"
#include "stock/stockfigures.h"
#include "stock/stocklist.h"

namespace mv {

QString stockSearchStatement(StockSearchField field, const QString& text)
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
    return u"SELECT 分类, 原材料名字, 单位, 型号 FROM yclnote WHERE "_qs + column + u" Like '%"_qs +
           likeEscaped(text) + u"%' ESCAPE '\\' GROUP BY 分类, 原材料名字, 单位, 型号"_qs;
}

void SearchStock(Connection& connection, ReportListModel& list, StockSearchField field,
                 const QString& text)
{
    const QList<StockItem> items = queryStockItems(connection, stockSearchStatement(field, text));
    fillStockRows(list, items,
                  items.isEmpty() ? QHash<ItemKey, ItemSums>() : allItemSums(connection));
}

} // namespace mv
