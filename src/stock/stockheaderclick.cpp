#include "stock/stockheaderclick.h"

#include "common/reportlistmodel.h"
#include "stock/reportlistsort.h"

namespace mv {

void OnStockHeaderClick(ReportListModel& list, int column)
{
    for (int i = 0; i < list.columnCount(); ++i) {
        if (i == column)
            continue;
        QString title = list.columnTitle(i);
        title.remove(sortMarkAscending());
        list.setColumnTitle(i, title);
        title.remove(sortMarkDescending());
        list.setColumnTitle(i, title);
    }

    QString title = list.columnTitle(column);
    if (title.contains(sortMarkAscending())) {
        SortReportList(list, column, 0);
        title.replace(sortMarkAscending(), sortMarkDescending());
    } else if (title.contains(sortMarkDescending())) {
        SortReportList(list, column, 1);
        title.replace(sortMarkDescending(), sortMarkAscending());
    } else {
        SortReportList(list, column, 0);
        title += sortMarkDescending();
    }
    list.setColumnTitle(column, title);
}

} // namespace mv
