#pragma once
// The list sort as it was first written: a selection over a key list, n²/2 comparisons and
// one removal per pass. Kept as the reference the benchmark measures against.

#include <QString>

namespace mv {

class ReportListModel;

// Same arguments and result order as SortReportList (direction non-zero = ascending, key
// type 10/6/3/8); no argument checks.
void selectionSortReportList(ReportListModel& list, int column, bool ascending, int caseFlag,
                             int keyType);

} // namespace mv
