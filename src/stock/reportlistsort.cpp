#include "stock/reportlistsort.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numeric>
#include <string_view>
#include <thread>
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

// The code-page-936 bytes of every key in one buffer, upper-cased unless the comparison is
// case-sensitive: key r starts at starts[r], its length (quint32) stands in the four bytes
// before it and a 0 byte follows it. One buffer instead of one array per row keeps the keys
// together in memory.
struct KeyBytes
{
    QByteArray bytes;
    std::vector<qsizetype> starts;
};

// Upper-cases a-z within one key; a byte of 0x80 or more starts a double-byte character,
// which is kept together with the byte after it (as upperGbk() does).
void upperGbkInPlace(char* p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b >= 0x80)
            ++i;
        else if (b >= 0x61 && b <= 0x7A)
            p[i] = char(b - 0x20);
    }
}

// The code-page-936 bytes of every UTF-16 unit of the basic plane, worked out once per
// process and only read afterwards, so several threads can share it: up to three bytes and
// their count in the low byte; 0 for the surrogates, which take the encoder's way.
const std::vector<quint32>& gbkUnitTable()
{
    static const std::vector<quint32> table = [] {
        std::vector<quint32> units(0x10000, 0);
        for (quint32 u = 0; u < 0x10000; ++u) {
            if (QChar::isSurrogate(char32_t(u)))
                continue;
            const QByteArray bytes =
                u < 0x80 ? QByteArray(1, char(u)) : gbkBytes(QString(QChar(char16_t(u))));
            if (bytes.isEmpty() || bytes.size() > 3)
                continue;
            quint32 packed = 0;
            for (char b : bytes)
                packed = (packed << 8) | quint8(b);
            units[u] = (packed << 8) | quint32(bytes.size());
        }
        return units;
    }();
    return table;
}

// Writes the code-page-936 bytes of the text (at most three per unit) and returns the end;
// nullptr when a unit is not in the table (surrogates), for the caller to encode the text.
char* writeGbk(QStringView text, char* out)
{
    const std::vector<quint32>& units = gbkUnitTable();
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            *out++ = char(ch.unicode());
            continue;
        }
        const quint32 known = units[ch.unicode()];
        if (known == 0)
            return nullptr;
        for (int i = int(known & 0xFF); i >= 1; --i)
            *out++ = char((known >> (8 * i)) & 0xFF);
    }
    return out;
}

template <typename KeyAt>
KeyBytes encodeKeys(qsizetype count, const KeyAt& keyAt, bool caseSensitive)
{
    KeyBytes keys;
    keys.starts.reserve(size_t(count) + 1);
    qsizetype size = 0;
    for (qsizetype r = 0; r < count; ++r) {
        const QString& key = keyAt(r);
        size += qsizetype(sizeof(quint32)); // the key's length goes in front of it
        keys.starts.push_back(size);
        const qsizetype room = size + 3 * key.size() + 1;
        if (keys.bytes.size() < room)
            keys.bytes.resize(std::max(room, 2 * keys.bytes.size()));
        char* const start = keys.bytes.data() + size;
        char* end = writeGbk(key, start);
        if (!end) {
            const QByteArray bytes = gbkBytes(key);
            keys.bytes.resize(std::max(keys.bytes.size(), size + bytes.size() + 1));
            end = std::copy(bytes.begin(), bytes.end(), keys.bytes.data() + size);
        }
        *end = '\0';
        char* const keyStart = keys.bytes.data() + size;
        const auto length = quint32(end - keyStart);
        std::memcpy(keyStart - sizeof length, &length, sizeof length);
        if (!caseSensitive)
            upperGbkInPlace(keyStart, end - keyStart);
        size = end - keys.bytes.data() + 1;
    }
    keys.bytes.truncate(size);
    keys.starts.push_back(size);
    return keys;
}

// Lists of at least this many rows encode their keys on two threads.
constexpr qsizetype kParallelEncodeFrom = 20000;

// encodeKeys() for every row; a long list encodes its two halves at the same time and joins
// them (the second half's starts move by the size of the first half's bytes).
template <typename KeyAt>
KeyBytes encodeAllKeys(qsizetype count, const KeyAt& keyAt, bool caseSensitive)
{
    if (count < kParallelEncodeFrom)
        return encodeKeys(count, keyAt, caseSensitive);
    gbkUnitTable(); // built before the threads share it
    const qsizetype half = count / 2;
    const auto secondKeyAt = [&](qsizetype r) -> const QString& { return keyAt(half + r); };
    KeyBytes second;
    std::thread helper([&] { second = encodeKeys(count - half, secondKeyAt, caseSensitive); });
    KeyBytes keys = encodeKeys(half, keyAt, caseSensitive);
    helper.join();
    keys.starts.pop_back(); // the end of the first half
    const qsizetype shift = keys.bytes.size();
    keys.bytes.append(second.bytes);
    keys.starts.reserve(keys.starts.size() + second.starts.size());
    for (qsizetype start : second.starts)
        keys.starts.push_back(start + shift);
    return keys;
}

// Text keys, compared byte-wise as unsigned values (a text that ends first is the smaller).
// Each row gets the eight key bytes at the current offset (big-endian, zero-padded,
// complemented for descending) and is ordered by them with a stable radix sort (a large
// range is first split by the first byte alone, so that the parts fit in the cache); then
// each run of rows that agree on all eight goes on to the next eight bytes. Small runs are
// finished with a comparison sort. Every step is stable, and starting from the rows in
// reverse order makes equal keys come out reversed, as the selection rule has it.
class TextOrder
{
public:
    TextOrder(const KeyBytes& keys, bool ascending)
        : m_data(keys.bytes.constData()), m_ascending(ascending), m_entries(keys.starts.size() - 1),
          m_buffer(m_entries.size())
    {
        const size_t n = m_entries.size();
        for (size_t i = 0; i < n; ++i) {
            m_entries[i].row = int(n - 1 - i);
            m_entries[i].start = quint32(keys.starts[n - 1 - i]);
        }
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
        quint32 start = 0; // of the key bytes
        int row = 0;
    };

    qsizetype length(const Entry& e) const
    {
        quint32 size;
        std::memcpy(&size, m_data + e.start - sizeof size, sizeof size);
        return qsizetype(size);
    }

    std::string_view text(const Entry& e) const
    {
        return std::string_view(m_data + e.start, size_t(length(e)));
    }

    // The eight bytes of the key from offset on, big-endian, zero-padded past its end.
    quint64 chunkAt(const Entry& e, qsizetype offset) const
    {
        const qsizetype start = e.start;
        const qsizetype size = length(e);
        if (size - offset >= 8)
            return qFromBigEndian<quint64>(m_data + start + offset);
        quint64 chunk = 0;
        for (qsizetype k = offset; k < offset + 8; ++k)
            chunk = (chunk << 8) | (k < size ? quint8(m_data[start + k]) : 0u);
        return chunk;
    }

    bool before(const Entry& a, const Entry& b) const
    {
        // string_view compares as unsigned bytes.
        const int c = m_ascending ? text(a).compare(text(b)) : text(b).compare(text(a));
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
            Entry& e = m_entries[i];
            const quint64 chunk = chunkAt(e, offset);
            e.chunk = m_ascending ? chunk : ~chunk;
            longer = longer || length(e) > offset;
        }
        if (end - begin <= 64 || !longer) {
            comparisonSort(begin, end);
            return;
        }
        if (end - begin > kSplitAbove) {
            // One pass on the first byte, then each part (small enough for the cache) on
            // all eight; the first byte is the same within a part and costs no pass there,
            // and no run of equal chunks crosses from one part into the next.
            const std::array<size_t, 257> parts = splitByFirstByte(begin, end);
            const auto orderParts = [&](int first, int last) {
                for (int v = first; v < last; ++v)
                    if (parts[v + 1] - parts[v] >= 2)
                        orderPart(begin + parts[v], begin + parts[v + 1], offset);
            };
            if (offset == 0 && end - begin >= kParallelFrom) {
                // The parts are independent: a long list shares them out over two threads,
                // the parts before the middle entry on one and the rest on the other.
                const size_t middle = (end - begin) / 2;
                const int cut =
                    int(std::upper_bound(parts.begin(), parts.end(), middle) - parts.begin()) - 1;
                std::thread helper(orderParts, cut, 256);
                orderParts(0, cut);
                helper.join();
            } else {
                orderParts(0, 256);
            }
            return;
        }
        orderPart(begin, end, offset);
    }

    // Radix sort of [begin, end) on the chunks at offset, then every run of equal chunks on
    // the bytes after them.
    void orderPart(size_t begin, size_t end, qsizetype offset)
    {
        radixSort(begin, end);
        for (size_t run = begin; run < end;) {
            size_t runEnd = run + 1;
            while (runEnd < end && m_entries[runEnd].chunk == m_entries[run].chunk)
                ++runEnd;
            orderRange(run, runEnd, offset + 8);
            run = runEnd;
        }
    }

    // Stable distribution of [begin, end) by the first byte of the chunks. Returns where the
    // part of each byte value starts (relative to begin; entry 256 is the end).
    std::array<size_t, 257> splitByFirstByte(size_t begin, size_t end)
    {
        std::array<size_t, 257> starts{};
        for (size_t i = begin; i < end; ++i)
            ++starts[(m_entries[i].chunk >> 56) + 1];
        for (int v = 0; v < 256; ++v)
            starts[v + 1] += starts[v];
        std::array<size_t, 256> next;
        std::copy(starts.begin(), starts.begin() + 256, next.begin());
        for (size_t i = begin; i < end; ++i)
            m_buffer[begin + next[m_entries[i].chunk >> 56]++] = m_entries[i];
        std::copy(m_buffer.begin() + qsizetype(begin), m_buffer.begin() + qsizetype(end),
                  m_entries.begin() + qsizetype(begin));
        return starts;
    }

    // Stable least-significant-byte-first radix sort of [begin, end) on the chunks. The
    // counts of all eight bytes are taken in one pass; bytes every key shares are skipped.
    void radixSort(size_t begin, size_t end)
    {
        size_t counts[8][256] = {};
        for (size_t i = begin; i < end; ++i) {
            const quint64 chunk = m_entries[i].chunk;
            for (int b = 0; b < 8; ++b)
                ++counts[b][(chunk >> (8 * b)) & 0xFF];
        }
        Entry* from = m_entries.data() + begin;
        Entry* to = m_buffer.data() + begin;
        const size_t n = end - begin;
        for (int b = 0; b < 8; ++b) {
            size_t* count = counts[b];
            if (std::find(count, count + 256, n) != count + 256)
                continue; // every key has the same byte here
            size_t next = 0;
            for (int v = 0; v < 256; ++v)
                next += std::exchange(count[v], next);
            const int shift = 8 * b;
            for (size_t i = 0; i < n; ++i)
                to[count[(from[i].chunk >> shift) & 0xFF]++] = from[i];
            std::swap(from, to);
        }
        if (from != m_entries.data() + begin)
            std::copy(from, from + n, m_entries.data() + begin);
    }

    // Ranges of more entries than this are split by one byte first (about 64 KiB of entries).
    static constexpr size_t kSplitAbove = 4096;
    // Lists of at least this many rows are ordered on two threads.
    static constexpr size_t kParallelFrom = 20000;

    const char* m_data;
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
        // Byte-wise unsigned comparison of the code-page-936 bytes, upper-cased unless the
        // case flag asks for case-sensitive comparison.
        return TextOrder(encodeAllKeys(count, keyAt, caseFlag & 1), ascending).order();
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
    list.reorderCellTexts(
        rowOrder(list.rowCount(), keyAt, direction.value_or(1) != 0, caseFlag.value_or(0), type));
    return sortFinishedText();
}

} // namespace mv
