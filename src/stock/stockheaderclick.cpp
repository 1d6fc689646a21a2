#include "stock/stockheaderclick.h"

#include "common/reportlistmodel.h"
#include "stock/reportlistsort.h"
#include "stock/stocklist.h"

namespace mv {

void OnReportHeaderClick(ReportListModel& list, int column, const QList<int>& numberColumns)
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

    // As texts, 9 would come before 100 and 10.
    const int keyType = numberColumns.contains(column) ? SortKeyNumber : SortKeyText;
    const auto sort = [&](int direction) { SortReportList(list, column, direction, {}, keyType); };
    QString title = list.columnTitle(column);
    if (title.contains(sortMarkAscending())) {
        sort(0);
        title.replace(sortMarkAscending(), sortMarkDescending());
    } else if (title.contains(sortMarkDescending())) {
        sort(1);
        title.replace(sortMarkDescending(), sortMarkAscending());
    } else {
        sort(0);
        title += sortMarkDescending();
    }
    list.setColumnTitle(column, title);
}

void OnStockHeaderClick(ReportListModel& list, int column)
{
    OnReportHeaderClick(list, column, {StockColNumber, StockColBalance});
}

} // namespace mv
