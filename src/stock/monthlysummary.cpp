#include "stock/monthlysummary.h"

#include "common/reportlistmodel.h"
#include "common/texts.h"
#include "db/builders.h"
#include "db/connection.h"
#include "stock/stockbalance.h"
#include "stock/stockfigures.h"

#include <algorithm>

namespace mv {

QList<ReportColumn> monthlySummaryColumns()
{
    return {{u"编号"_qs, 50},      {u"库存分类"_qs, 100},   {u"名称"_qs, 200},
            {u"型号"_qs, 150},     {u"上月库存量"_qs, 100}, {u"本月库存量"_qs, 100},
            {u"本月出库"_qs, 100}, {u"本月入库"_qs, 500}};
}

int PeriodQuantity(Connection& connection, const QString& name, const QString& model,
                   const QString& direction, const QDate& from, const QDate& to)
{
    const Dialect& dialect = connection.dialect();
    // On SQLite dates in other text forms are compared as the dates they name (see mv_date).
    const QString inPeriod = dialect.backend() == Dialect::Sqlite
                                 ? QString(u"mv_between(日期, "_qs + dialect.dateLiteral(from) +
                                           u", "_qs + dialect.dateLiteral(to) + u")"_qs)
                                 : QString(u"日期 between "_qs + dialect.dateLiteral(from) +
                                           u" and "_qs + dialect.dateLiteral(to));
    const QString statement = u"select * from yclnote where "_qs + inPeriod + u" and "_qs +
                              dialect.itemEquals(u"原材料名字"_qs) + u" and "_qs +
                              dialect.itemEquals(u"型号"_qs) + u" and 正负=?"_qs;
    qint64 total = 0;
    std::unique_ptr<ResultSet> lines = connection.query(statement, {name, model, direction}, true);
    if (lines) {
        const int quantity = lines->columnIndex(u"数量"_qs);
        for (; !lines->eof(); lines->next())
            total += toInteger(lines->value(quantity));
    }
    return stockFigure(total);
}

QueryOutcome BuildMonthlySummary(Connection& connection, ReportListModel& list, const QDate& from,
                                 const QDate& to, const SummaryProgress& progress)
{
    const QString operation = u"统计"_qs;
    // A period that ends before it starts holds no movements: its summary would show every
    // item unmoved, as if nothing had come in or gone out, with nothing saying why.
    if (from > to)
        return QueryOutcome::refused(u"统计的起始日期晚于结束日期，请重新选择日期！"_qs,
                                     u"提示"_qs);
    const std::optional<QList<StockItem>> items =
        queryStockItems(connection, stockItemsStatement());
    if (!items)
        return queryFailed(connection, operation);
    const int total = int(items->size());
    if (progress)
        progress(0, total);
    // Most of the work is the database's summing, two groups (in and out) to an item about;
    // the rows are quick to make afterwards.
    const std::optional<QHash<ItemKey, ItemSums>> sums =
        allItemSums(connection, Period{from, to}, [&](int groups) {
            if (progress)
                progress(std::min(total, groups / 2), total);
        });
    if (!sums)
        return queryFailed(connection, operation);

    if (list.columnCount() == 0)
        list.setColumns(monthlySummaryColumns());
    QList<ReportRow> rows;
    rows.reserve(items->size());
    for (const StockItem& item : *items) {
        const ItemSums figures = sums->value(itemKey(item.name, item.model));
        const int balance = stockFigure(figures.in - figures.out);
        const int received = stockFigure(figures.periodIn);
        const int issued = stockFigure(figures.periodOut);
        const int opening = stockFigure(qint64(balance) + issued - received);
        rows.append(ReportRow{{QString::number(rows.size() + 1), item.category, item.name,
                               item.model, QString::number(opening), QString::number(balance),
                               QString::number(issued), QString::number(received)},
                              0,
                              Qt::Unchecked});
    }
    list.setRows(std::move(rows));
    if (progress)
        progress(total, total);
    return QueryOutcome::success();
}

} // namespace mv
