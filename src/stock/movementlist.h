#pragma once
// The movement list (超级列表框2): every line of one item with direction, quantity,
// document number, maker and date.

#include "stock/queryoutcome.h"

#include <QList>
#include <QString>

namespace mv {

class Connection;
class ReportListModel;
struct ReportColumn;

QList<ReportColumn> movementListColumns();

// The stored date in the date text form ("2010年1月5日"); a text that is no date stays as it is.
QString movementDateText(const QString& stored);

// Refills the list with the lines of (name, model) in the order they were stored. When the
// database cannot be read the list keeps its rows and the outcome says "读取出入记录失败：…".
QueryOutcome FillMovementList(Connection& connection, ReportListModel& list, const QString& name,
                              const QString& model);

} // namespace mv
