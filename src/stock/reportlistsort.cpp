#include "stock/reportlistsort.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace mv {

QString sortNotReportText()
{
    return QStringLiteral("该超级列表框不是报表类型");
}
QString sortBadColumnText()
{
    return QStringLiteral("错误的列索引");
}
QString sortBadKeyTypeText()
{
    return QStringLiteral("排序类型不对");
}
QString sortFinishedText()
{
    return QStringLiteral("排序完成");
}

double dateSortKey(const QString& text)
{
    double d = std::clamp(textToDate(text), kNoDate, kMaxDate);
    if (d < 0)
        d = 2 * std::trunc(d) - d;
    return d;
}

namespace {

// Row indexes n-1 .. 0: a stable sort of this list with a strict comparator puts equal keys
// in the reverse of their former order, which is what the selection rule yields.
std::vector<int> reversedIndexes(qsizetype n)
{
    std::vector<int> rows(static_cast<size_t>(n));
    std::iota(rows.rbegin(), rows.rend(), 0);
    return rows;
}

template <typename Key, typename Less>
QList<int> reverseTieSort(const std::vector<Key>& keys, bool ascending, Less less)
{
    std::vector<int> rows = reversedIndexes(qsizetype(keys.size()));
    if (ascending)
        std::stable_sort(rows.begin(), rows.end(),
                         [&](int a, int b) { return less(keys[size_t(a)], keys[size_t(b)]); });
    else
        std::stable_sort(rows.begin(), rows.end(),
                         [&](int a, int b) { return less(keys[size_t(b)], keys[size_t(a)]); });
    return QList<int>(rows.begin(), rows.end());
}

bool takeNumber(double best, double candidate, bool ascending)
{
    return ascending ? best - candidate >= -kNumberSortTolerance
                     : best - candidate <= kNumberSortTolerance;
}

// The selection itself, on a few rows given in their former order. Used where the tolerance
// makes "equal" non-transitive, so that no comparison sort can stand in for it.
void selectNumbers(std::vector<int> rows, const std::vector<double>& values, bool ascending,
                   QList<int>& order)
{
    while (rows.size() >= 2) {
        size_t best = 0;
        for (size_t candidate = 1; candidate < rows.size(); ++candidate)
            if (takeNumber(values[size_t(rows[best])], values[size_t(rows[candidate])], ascending))
                best = candidate;
        order.append(rows[best]);
        rows.erase(rows.begin() + qsizetype(best));
    }
    if (!rows.empty())
        order.append(rows.front());
}

// Numbers equal within the tolerance are not an equivalence: 0, 0.6e-7 and 1.2e-7 chain up
// although the ends differ by more than the tolerance. Rows are cut into chains of values
// whose sorted neighbours lie within the tolerance; values in different chains differ by
// more than it, so the selection empties the lowest (ascending) or highest (descending)
// chain first and rows of other chains never interfere. Within a chain whose whole span is
// within the tolerance every pair is equal, so the rows leave in reverse order; only a
// chain wider than that needs the selection itself. Equal infinities never compare equal
// (their difference is NaN), so the first of them always stays best: they keep their order.
QList<int> numberOrder(const std::vector<double>& values, bool ascending)
{
    QList<int> order;
    order.reserve(qsizetype(values.size()));
    std::vector<int> all(values.size());
    std::iota(all.begin(), all.end(), 0);
    if (std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); })) {
        selectNumbers(std::move(all), values, ascending, order);
        return order;
    }

    std::vector<int> sorted = all;
    std::sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return values[size_t(a)] < values[size_t(b)] ||
               (values[size_t(a)] == values[size_t(b)] && a < b);
    });

    std::vector<std::pair<size_t, size_t>> chains; // [begin, end) in sorted
    for (size_t begin = 0; begin < sorted.size();) {
        size_t end = begin + 1;
        while (end < sorted.size()) {
            const double previous = values[size_t(sorted[end - 1])];
            const double next = values[size_t(sorted[end])];
            const bool linked = std::isinf(previous) || std::isinf(next)
                                    ? previous == next
                                    : next - previous <= kNumberSortTolerance;
            if (!linked)
                break;
            ++end;
        }
        chains.emplace_back(begin, end);
        begin = end;
    }
    if (!ascending)
        std::reverse(chains.begin(), chains.end());

    for (const auto& [begin, end] : chains) {
        std::vector<int> rows(sorted.begin() + qsizetype(begin), sorted.begin() + qsizetype(end));
        const double low = values[size_t(rows.front())];
        const double high = values[size_t(rows.back())];
        std::sort(rows.begin(), rows.end());
        if (rows.size() == 1 || std::isinf(low)) {
            order.append(QList<int>(rows.begin(), rows.end()));
        } else if (high - low <= kNumberSortTolerance) {
            order.append(QList<int>(rows.rbegin(), rows.rend()));
        } else {
            selectNumbers(std::move(rows), values, ascending, order);
        }
    }
    return order;
}

} // namespace

QList<int> sortedRowOrder(const QStringList& keys, bool ascending, int caseFlag, int keyType)
{
    switch (keyType) {
    case SortKeyNumber:
    case SortKeyNumberAlias: {
        std::vector<double> values;
        values.reserve(size_t(keys.size()));
        for (const QString& key : keys)
            values.push_back(toNumber(key));
        return numberOrder(values, ascending);
    }
    case SortKeyDate: {
        std::vector<double> values;
        values.reserve(size_t(keys.size()));
        for (const QString& key : keys)
            values.push_back(dateSortKey(key));
        return reverseTieSort(values, ascending, std::less<double>());
    }
    default: {
        const bool caseSensitive = caseFlag & 1;
        std::vector<QByteArray> bytes;
        bytes.reserve(size_t(keys.size()));
        for (const QString& key : keys)
            bytes.push_back(caseSensitive ? gbkBytes(key) : upperGbk(gbkBytes(key)));
        return reverseTieSort(bytes, ascending, [](const QByteArray& a, const QByteArray& b) {
            return compareBytes(a, b) < 0;
        });
    }
    }
}

QString SortReportList(ReportListModel& list, int column, std::optional<int> direction,
                       std::optional<int> caseFlag, std::optional<int> keyType, int viewType)
{
    if (viewType != kReportViewType)
        return sortNotReportText();
    const int columns = list.columnCount();
    if (column > columns - 1 || column < 0)
        return sortBadColumnText();
    int type = keyType.value_or(SortKeyText);
    if (type != SortKeyText && type != SortKeyNumberAlias && type != SortKeyNumber &&
        type != SortKeyDate)
        return sortBadKeyTypeText();
    if (type == SortKeyNumberAlias)
        type = SortKeyNumber;
    if (list.rowCount() == 0)
        return sortFinishedText();

    const QList<QStringList> snapshot = list.cellTexts();
    QStringList keys;
    keys.reserve(snapshot.size());
    for (const QStringList& cells : snapshot)
        keys.append(cells.value(column));

    const QList<int> order =
        sortedRowOrder(keys, direction.value_or(1) != 0, caseFlag.value_or(0), type);
    QList<QStringList> sorted;
    sorted.reserve(snapshot.size());
    for (int row : order)
        sorted.append(snapshot.at(row));
    list.setCellTexts(sorted);
    return sortFinishedText();
}

} // namespace mv
