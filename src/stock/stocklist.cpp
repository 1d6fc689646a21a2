#include "stock/stocklist.h"

#include "common/reportlistmodel.h"
#include "db/connection.h"
#include "stock/stockbalance.h"

#include <cmath>

namespace mv {

QList<ReportColumn> stockListColumns()
{
    return {{u"编号"_qs, 50},   {u"库存分类"_qs, 100}, {u"名称"_qs, 150}, {u"型号"_qs, 150},
            {u"现存量"_qs, 80}, {u"单位"_qs, 50},      {u"备注"_qs, 1000}};
}

namespace {

void ensureStockColumns(ReportListModel& list)
{
    if (list.columnCount() == 0)
        list.setColumns(stockListColumns());
}

int balanceOf(const QHash<ItemKey, ItemSums>& sums, const QString& name, const QString& model)
{
    const auto found = sums.constFind(itemKey(name, model));
    return found == sums.cend() ? 0 : stockFigure(found->in - found->out);
}

// ycl.编号 as an integer: integral values as they are, floating values truncated.
qint64 rowNumber(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return qint64(std::trunc(value.toDouble()));
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return ok ? number : qint64(std::trunc(value.toDouble()));
}

} // namespace

void fillStockRows(ReportListModel& list, const QList<StockItem>& items,
                   const QHash<ItemKey, ItemSums>& sums)
{
    ensureStockColumns(list);
    QList<ReportRow> rows;
    rows.reserve(items.size());
    for (const StockItem& item : items) {
        const int balance = balanceOf(sums, item.name, item.model);
        rows.append(ReportRow{{QString::number(rows.size() + 1), item.category, item.name,
                               item.model, QString::number(balance), item.unit, QString()},
                              0,
                              Qt::Unchecked});
    }
    list.setRows(std::move(rows));
}

QString readStockOperation()
{
    return u"读取库存"_qs;
}

QueryOutcome RefreshStockList(Connection& connection, ReportListModel& list)
{
    const std::optional<QList<StockItem>> items =
        queryStockItems(connection, stockItemsStatement());
    if (!items)
        return queryFailed(connection, readStockOperation());
    const std::optional<QHash<ItemKey, ItemSums>> sums = allItemSums(connection);
    if (!sums)
        return queryFailed(connection, readStockOperation());
    fillStockRows(list, *items, *sums);
    return QueryOutcome::success();
}

bool yclHasItems(Connection& connection)
{
    const std::unique_ptr<ResultSet> items = connection.query(u"SELECT 1 FROM ycl LIMIT 1"_qs);
    return items && !items->eof();
}

QueryOutcome FillStockListFromYcl(Connection& connection, ReportListModel& list, int column)
{
    QString statement;
    if (column == 1)
        statement =
            u"select * from ycl  ORDER  BY "_qs + connection.dialect().itemKey(u"库存分类"_qs);
    else if (column == 2)
        statement =
            u"select * from ycl  ORDER  BY "_qs + connection.dialect().itemKey(u"原材料名字"_qs);
    else
        return QueryOutcome::success();

    std::unique_ptr<ResultSet> records = connection.query(statement, true);
    if (!records)
        return queryFailed(connection, readStockOperation());
    const std::optional<QHash<ItemKey, ItemSums>> sums = allItemSums(connection);
    if (!sums)
        return queryFailed(connection, readStockOperation());
    ensureStockColumns(list);
    QList<ReportRow> rows;
    const int number = records->columnIndex(u"编号"_qs);
    const int category = records->columnIndex(u"库存分类"_qs);
    const int name = records->columnIndex(u"原材料名字"_qs);
    const int model = records->columnIndex(u"规格"_qs);
    const int unit = records->columnIndex(u"单位"_qs);
    for (; !records->eof(); records->next()) {
        const int balance = balanceOf(*sums, records->field(name), records->field(model));
        rows.append(ReportRow{{QString::number(rows.size() + 1), records->field(category),
                               records->field(name), records->field(model),
                               QString::number(balance), records->field(unit), QString()},
                              rowNumber(records->value(number)),
                              Qt::Unchecked});
    }
    list.setRows(std::move(rows));
    return QueryOutcome::success();
}

std::optional<int> DeleteStockRowByDatum(Connection& connection, qint64 datum)
{
    if (!connection.execute(u"delete from ycl where 编号="_qs + QString::number(datum)))
        return std::nullopt;
    return connection.rowsAffected();
}

} // namespace mv
