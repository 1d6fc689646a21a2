#include "stock/reportlistsort.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
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

// Equal keys leave in the reverse of their former order, which is what the selection rule
// yields: ties are broken by the higher former row first.
template <typename Key, typename Compare>
QList<int> reverseTieSort(std::vector<std::pair<Key, int>>& keyed, bool ascending, Compare compare)
{
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        const int c = ascending ? compare(a.first, b.first) : compare(b.first, a.first);
        return c != 0 ? c < 0 : a.second > b.second;
    });
    QList<int> order;
    order.reserve(qsizetype(keyed.size()));
    for (const auto& entry : keyed)
        order.append(entry.second);
    return order;
}

// A text key: the code-page-936 bytes, and their first sixteen as two big-endian numbers
// (zero-padded) that decide most comparisons without a look at the bytes themselves.
struct TextKey
{
    quint64 head[2] = {0, 0};
    QByteArray bytes;
};

TextKey textKey(const QString& text, bool caseSensitive)
{
    TextKey key;
    key.bytes = caseSensitive ? gbkBytes(text) : upperGbk(gbkBytes(text));
    for (qsizetype i = 0; i < 16; ++i)
        key.head[i / 8] =
            (key.head[i / 8] << 8) | (i < key.bytes.size() ? quint8(key.bytes.at(i)) : 0u);
    return key;
}

// Byte-wise as unsigned values, a text that ends first being the smaller. Heads that differ
// order as the bytes do: padding sorts below every byte but 0, and equal heads look further.
int compareTextKeys(const TextKey& a, const TextKey& b)
{
    for (int i = 0; i < 2; ++i)
        if (a.head[i] != b.head[i])
            return a.head[i] < b.head[i] ? -1 : 1;
    return compareBytes(a.bytes, b.bytes);
}

// Text keys, upper-cased unless the comparison is case-sensitive; each is encoded once,
// before the sort.
template <typename KeyAt>
QList<int> textOrder(qsizetype count, const KeyAt& keyAt, bool ascending, bool caseSensitive)
{
    std::vector<std::pair<TextKey, int>> keyed;
    keyed.reserve(size_t(count));
    for (qsizetype r = 0; r < count; ++r)
        keyed.emplace_back(textKey(keyAt(r), caseSensitive), int(r));
    return reverseTieSort(keyed, ascending, compareTextKeys);
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

// The order for the keys keyAt(0) .. keyAt(count - 1).
template <typename KeyAt>
QList<int> rowOrder(qsizetype count, const KeyAt& keyAt, bool ascending, int caseFlag, int keyType)
{
    switch (keyType) {
    case SortKeyNumber:
    case SortKeyNumberAlias: {
        std::vector<double> values;
        values.reserve(size_t(count));
        for (qsizetype r = 0; r < count; ++r)
            values.push_back(toNumber(keyAt(r)));
        return numberOrder(values, ascending);
    }
    case SortKeyDate: {
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(size_t(count));
        for (qsizetype r = 0; r < count; ++r)
            keyed.emplace_back(dateSortKey(keyAt(r)), int(r));
        return reverseTieSort(keyed, ascending,
                              [](double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); });
    }
    default:
        return textOrder(count, keyAt, ascending, caseFlag & 1);
    }
}

} // namespace

QList<int> sortedRowOrder(const QStringList& keys, bool ascending, int caseFlag, int keyType)
{
    return rowOrder(
        keys.size(), [&](qsizetype r) -> const QString& { return keys.at(r); }, ascending, caseFlag,
        keyType);
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

    // The keys are read where they are; a row with fewer cells has an empty key.
    static const QString noText;
    const auto keyAt = [&](qsizetype r) -> const QString& {
        const QStringList& cells = list.rowAt(int(r)).cells;
        return column < cells.size() ? cells.at(column) : noText;
    };
    list.reorderRows(
        rowOrder(list.rowCount(), keyAt, direction.value_or(1) != 0, caseFlag.value_or(0), type));
    return sortFinishedText();
}

} // namespace mv
