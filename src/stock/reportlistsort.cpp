#include "stock/reportlistsort.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <string_view>
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
// yields: ties are broken by the higher former row first. Keys and rows sit side by side so
// the sort touches contiguous memory.
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

// Text keys, compared byte-wise as unsigned values (a text that ends first is the smaller).
// Rows are ordered eight bytes at a time: a stable radix sort on the bytes at the current
// offset (big-endian, zero-padded, complemented for descending), then each run of rows that
// agree on them goes on to the next eight bytes. Small runs are finished with a comparison
// sort. Starting from the rows in reverse order makes equal keys come out reversed, as the
// selection rule has it.
class TextOrder
{
public:
    TextOrder(const std::vector<QByteArray>& bytes, bool ascending)
        : m_bytes(bytes), m_ascending(ascending), m_entries(bytes.size()), m_buffer(bytes.size())
    {
        const size_t n = bytes.size();
        for (size_t i = 0; i < n; ++i)
            m_entries[i].row = int(n - 1 - i);
        orderRange(0, n, 0);
    }

    QList<int> order() const
    {
        QList<int> rows;
        rows.reserve(qsizetype(m_entries.size()));
        for (const Entry& e : m_entries)
            rows.append(e.row);
        return rows;
    }

private:
    struct Entry
    {
        quint64 chunk = 0;
        int row = 0;
    };

    std::string_view text(int row) const
    {
        const QByteArray& key = m_bytes[size_t(row)];
        return std::string_view(key.constData(), size_t(key.size()));
    }

    bool before(const Entry& a, const Entry& b) const
    {
        // string_view compares as unsigned bytes.
        const int c =
            m_ascending ? text(a.row).compare(text(b.row)) : text(b.row).compare(text(a.row));
        return c != 0 ? c < 0 : a.row > b.row;
    }

    void comparisonSort(size_t begin, size_t end)
    {
        const auto first = m_entries.begin() + qsizetype(begin);
        const auto last = m_entries.begin() + qsizetype(end);
        const auto less = [this](const Entry& a, const Entry& b) { return before(a, b); };
        if (!std::is_sorted(first, last, less))
            std::sort(first, last, less);
    }

    // The keys of [begin, end) agree on their first offset bytes.
    void orderRange(size_t begin, size_t end, qsizetype offset)
    {
        if (end - begin < 2)
            return;
        bool longer = false;
        for (size_t i = begin; i < end; ++i) {
            const QByteArray& key = m_bytes[size_t(m_entries[i].row)];
            quint64 chunk = 0;
            for (qsizetype k = offset; k < offset + 8; ++k)
                chunk = (chunk << 8) | (k < key.size() ? quint8(key[k]) : 0u);
            m_entries[i].chunk = m_ascending ? chunk : ~chunk;
            longer = longer || key.size() > offset;
        }
        if (end - begin <= 64 || !longer) {
            comparisonSort(begin, end);
            return;
        }
        for (int shift = 0; shift < 64; shift += 8) {
            size_t start[257] = {};
            for (size_t i = begin; i < end; ++i)
                ++start[((m_entries[i].chunk >> shift) & 0xFF) + 1];
            if (std::find(std::begin(start), std::end(start), end - begin) != std::end(start))
                continue; // every key has the same byte here
            for (int b = 0; b < 256; ++b)
                start[b + 1] += start[b];
            for (size_t i = begin; i < end; ++i) {
                const Entry& e = m_entries[i];
                m_buffer[begin + start[(e.chunk >> shift) & 0xFF]++] = e;
            }
            std::copy(m_buffer.begin() + qsizetype(begin), m_buffer.begin() + qsizetype(end),
                      m_entries.begin() + qsizetype(begin));
        }
        for (size_t run = begin; run < end;) {
            size_t runEnd = run + 1;
            while (runEnd < end && m_entries[runEnd].chunk == m_entries[run].chunk)
                ++runEnd;
            orderRange(run, runEnd, offset + 8);
            run = runEnd;
        }
    }

    const std::vector<QByteArray>& m_bytes;
    const bool m_ascending;
    std::vector<Entry> m_entries;
    std::vector<Entry> m_buffer;
};

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
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(size_t(keys.size()));
        for (int r = 0; r < keys.size(); ++r)
            keyed.emplace_back(dateSortKey(keys.at(r)), r);
        return reverseTieSort(keyed, ascending,
                              [](double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); });
    }
    default: {
        // Byte-wise unsigned comparison of the code-page-936 bytes, upper-cased unless the
        // case flag asks for case-sensitive comparison.
        const bool caseSensitive = caseFlag & 1;
        std::vector<QByteArray> bytes;
        bytes.reserve(size_t(keys.size()));
        for (const QString& key : keys)
            bytes.push_back(caseSensitive ? gbkBytes(key) : upperGbk(gbkBytes(key)));
        return TextOrder(bytes, ascending).order();
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
