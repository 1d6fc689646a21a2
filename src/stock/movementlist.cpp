#include "stock/movementlist.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "db/builders.h"
#include "db/connection.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace mv {

QList<ReportColumn> movementListColumns()
{
    return {{u"出入库"_qs, 100},
            {u"数量"_qs, 100},
            {u"单据号"_qs, 100},
            {u"人员"_qs, 60},
            {u"时间"_qs, 300}};
}

QString movementDateText(const QString& stored)
{
    const double date = textToDate(stored);
    return date == kNoDate ? stored : dateText(date);
}

QueryOutcome FillMovementList(Connection& connection, ReportListModel& list, const QString& name,
                              const QString& model)
{
    const Dialect& dialect = connection.dialect();
    const QString condition =
        dialect.itemEquals(u"原材料名字"_qs) + u" and "_qs + dialect.itemEquals(u"型号"_qs);
    // Read as they were entered, receipts and requisitions interleaved; an index on the item
    // would otherwise hand them out grouped by direction.
    std::unique_ptr<ResultSet> lines = connection.query(
        buildSelect(u"yclnote"_qs, condition, dialect.storedOrder()), {name, model}, true);
    if (!lines)
        return queryFailed(connection, u"读取出入记录"_qs);
    if (list.columnCount() == 0)
        list.setColumns(movementListColumns());
    const int direction = lines->columnIndex(u"正负"_qs);
    const int quantity = lines->columnIndex(u"数量"_qs);
    const int document = lines->columnIndex(u"单据号"_qs);
    const int maker = lines->columnIndex(u"制单人"_qs);
    const int date = lines->columnIndex(u"日期"_qs);
    // In the order of their dates, as a stock card reads: a receipt entered late for an earlier
    // day stands on that day; lines of one day as entered, lines without a date last.
    std::vector<std::pair<double, ReportRow>> dated;
    for (; !lines->eof(); lines->next()) {
        const QString stored = lines->field(date);
        const double day = textToDate(stored);
        dated.emplace_back(
            day == kNoDate ? std::numeric_limits<double>::infinity() : day,
            ReportRow{{lines->field(direction), lines->field(quantity), lines->field(document),
                       lines->field(maker), movementDateText(stored)},
                      0,
                      Qt::Unchecked});
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<ReportRow> rows;
    rows.reserve(qsizetype(dated.size()));
    for (auto& [day, row] : dated)
        rows.append(std::move(row));
    list.setRows(std::move(rows));
    return QueryOutcome::success();
}

} // namespace mv
