#pragma once
// Header clicks on a report list (the stock list, the monthly summary): alternate
// descending/ascending sorts of the clicked column and mark it with a triangle in its title.

#include "common/sortmark.h"

#include <QList>
#include <QString>

namespace mv {

class ReportListModel;

// Clears the marks of every other column, then: a title marked "▽" sorts descending and
// becomes "△"; one marked "△" sorts ascending and becomes "▽"; an unmarked one sorts
// descending and gets "△" appended. The columns numberColumns are compared as numbers, every
// other column as case-insensitive text.
void OnReportHeaderClick(ReportListModel& list, int column, const QList<int>& numberColumns);

// The stock list's: the running number and the stock (现存量) are compared as numbers.
void OnStockHeaderClick(ReportListModel& list, int column);

} // namespace mv
