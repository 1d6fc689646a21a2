#pragma once
// Sorting a report list by the texts of one column, as text, number or date-time.
//
// The order is defined by a selection that repeatedly takes the smallest (ascending) or
// greatest (descending) remaining key, preferring the LAST of several equal keys. Equal
// keys therefore come out in the reverse of their former order in both directions. This
// file computes the same order in O(n log n).

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace mv {

class ReportListModel;

enum SortKeyType : int
{
    SortKeyNumberAlias = 3, // same as SortKeyNumber
    SortKeyNumber = 6,
    SortKeyDate = 8,
    SortKeyText = 10,
};

inline constexpr int kReportViewType = 3;
// Two numbers closer than this count as equal.
inline constexpr double kNumberSortTolerance = 1e-7;

// Result texts of SortReportList.
QString sortNotReportText();  // "该超级列表框不是报表类型"
QString sortBadColumnText();  // "错误的列索引"
QString sortBadKeyTypeText(); // "排序类型不对"
QString sortFinishedText();   // "排序完成"

// The sort key of a date-time column: the date value clamped to 100-01-01 .. 9999-12-31,
// with dates before 1899-12-30 mirrored within their day so that times of day order
// correctly.
double dateSortKey(const QString& text);

// The new row order (former row indexes) for the given key texts. direction: true =
// ascending. keyType must be 10, 6, 3 or 8.
QList<int> sortedRowOrder(const QStringList& keys, bool ascending, int caseFlag, int keyType);

// Sorts the rows of the list by the texts of column: each row's datum and check state move
// with its texts; the selection stays with the row position. Returns one of the result
// texts above.
QString SortReportList(ReportListModel& list, int column, std::optional<int> direction = {},
                       std::optional<int> caseFlag = {}, std::optional<int> keyType = {},
                       int viewType = kReportViewType);

} // namespace mv
