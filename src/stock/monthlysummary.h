#pragma once
// The monthly summary (超级列表框3): per item the stock before the period, the goods
// received and issued within it, and the current stock.

#include "stock/queryoutcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

namespace mv {

class Connection;
class ReportListModel;
struct ReportColumn;

enum MonthlySummaryColumn : int
{
    SummaryColNumber = 0, // 编号
    SummaryColCategory,   // 库存分类
    SummaryColName,       // 名称
    SummaryColModel,      // 型号
    SummaryColOpening,    // 上月库存量 = current stock + issued − received in the period
    SummaryColCurrent,    // 本月库存量 = stock over all dates, later movements included
    SummaryColIssued,     // 本月出库
    SummaryColReceived,   // 本月入库
    SummaryColumnCount
};

QList<ReportColumn> monthlySummaryColumns();

// The total integer quantity of one item moved in one direction ("入库"/"出库") between
// the two dates, both included. One query.
int PeriodQuantity(Connection& connection, const QString& name, const QString& model,
                   const QString& direction, const QDate& from, const QDate& to);

// (rows done, rows in all), called while the rows are being made.
using SummaryProgress = std::function<void(int done, int total)>;

// Refills the list with one row per stock item; all figures come from one aggregate pass.
// When the database cannot be read the rows stay and the outcome says "统计失败：…"; a period
// that ends before it starts is refused, the rows kept as well.
QueryOutcome BuildMonthlySummary(Connection& connection, ReportListModel& list, const QDate& from,
                                 const QDate& to, const SummaryProgress& progress = {});

} // namespace mv
