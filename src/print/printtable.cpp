#include "print/printtable.h"

#include <algorithm>

namespace mv {

PrintTable::PrintTable(int rows, int columns)
{
    m_columns = std::max(0, columns);
    m_widths = QList<int>(m_columns, 0);
    appendRows(rows);
}

bool PrintTable::valid(int row, int column) const
{
    return row >= 1 && row <= rowCount() && column >= 1 && column <= m_columns;
}

void PrintTable::insertRows(int row, int count)
{
    if (count <= 0 || row < 1 || row > rowCount() + 1)
        return;
    Row blank;
    blank.cells = QList<PrintCell>(m_columns);
    m_cells.insert(row - 1, count, blank);
    // Merges below move down; a merge spanning the insertion point grows.
    for (QRect& m : m_merges) {
        if (m.top() >= row)
            m.translate(0, count);
        else if (m.bottom() >= row)
            m.setBottom(m.bottom() + count);
    }
}

void PrintTable::appendRows(int count)
{
    insertRows(rowCount() + 1, count);
}

void PrintTable::insertColumns(int column, int count)
{
    if (count <= 0 || column < 1 || column > m_columns + 1)
        return;
    for (Row& r : m_cells)
        r.cells.insert(column - 1, count, PrintCell{});
    m_widths.insert(column - 1, count, 0);
    m_columns += count;
    for (QRect& m : m_merges) {
        if (m.left() >= column)
            m.translate(count, 0);
        else if (m.right() >= column)
            m.setRight(m.right() + count);
    }
}

void PrintTable::deleteColumns(int column, int count)
{
    if (column < 1 || column > m_columns || count <= 0)
        return;
    count = std::min(count, m_columns - column + 1);
    for (Row& r : m_cells)
        r.cells.remove(column - 1, count);
    m_widths.remove(column - 1, count);
    m_columns -= count;
    const int last = column + count - 1;
    QList<QRect> kept;
    for (QRect m : m_merges) {
        if (m.left() > last) {
            m.translate(-count, 0);
        } else if (m.right() >= column) {
            // The deleted columns leave the merge; what remains keeps its place.
            const int removed = std::min(m.right(), last) - std::max(m.left(), column) + 1;
            const int left = m.left() < column ? m.left() : column;
            m = QRect(QPoint(left, m.top()), QPoint(left + m.width() - removed - 1, m.bottom()));
            if (m.width() <= 0)
                continue;
        }
        if (m.width() > 1 || m.height() > 1)
            kept.append(m);
    }
    m_merges = kept;
}

QString PrintTable::text(int row, int column) const
{
    return valid(row, column) ? m_cells[row - 1].cells[column - 1].text : QString();
}

void PrintTable::setText(int row, int column, const QString& text)
{
    if (valid(row, column))
        m_cells[row - 1].cells[column - 1].text = text;
}

const PrintCell* PrintTable::cell(int row, int column) const
{
    return valid(row, column) ? &m_cells[row - 1].cells[column - 1] : nullptr;
}

template <class F> void PrintTable::forRect(int r1, int c1, int r2, int c2, F&& apply)
{
    r1 = std::max(r1, 1);
    c1 = std::max(c1, 1);
    r2 = std::min(r2, rowCount());
    c2 = std::min(c2, m_columns);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            apply(m_cells[r - 1].cells[c - 1]);
}

void PrintTable::setAlignment(int r1, int c1, int r2, int c2, int code)
{
    forRect(r1, c1, r2, c2, [code](PrintCell& c) { c.align = code; });
}

void PrintTable::setStyle(int r1, int c1, int r2, int c2, int flags)
{
    forRect(r1, c1, r2, c2, [flags](PrintCell& c) { c.style = flags; });
}

void PrintTable::setTextColour(int r1, int c1, int r2, int c2, int colour)
{
    forRect(r1, c1, r2, c2, [colour](PrintCell& c) { c.textColour = colour; });
}

void PrintTable::setBackground(int r1, int c1, int r2, int c2, int colour)
{
    forRect(r1, c1, r2, c2, [colour](PrintCell& c) { c.background = colour; });
}

void PrintTable::setFontName(int r1, int c1, int r2, int c2, const QString& name)
{
    forRect(r1, c1, r2, c2, [&name](PrintCell& c) { c.fontName = name; });
}

void PrintTable::setFontSize(int r1, int c1, int r2, int c2, int size)
{
    forRect(r1, c1, r2, c2, [size](PrintCell& c) { c.fontSize = size; });
}

void PrintTable::setWordWrap(int r1, int c1, int r2, int c2, bool on)
{
    forRect(r1, c1, r2, c2, [on](PrintCell& c) { c.wrap = on; });
}

void PrintTable::setEdge(int row, int column, int edge, bool on)
{
    if (!valid(row, column))
        return;
    int& edges = m_cells[row - 1].cells[column - 1].edges;
    edges = on ? (edges | edge) : (edges & ~edge);
}

void PrintTable::setBorders(int r1, int c1, int r2, int c2, int mask, bool on)
{
    r1 = std::max(r1, 1);
    c1 = std::max(c1, 1);
    r2 = std::min(r2, rowCount());
    c2 = std::min(c2, m_columns);
    if (r1 > r2 || c1 > c2)
        return;
    // Each line is recorded on the cells on both of its sides.
    auto vertical = [&](int r, int leftColumn) {
        setEdge(r, leftColumn, EdgeRight, on);
        setEdge(r, leftColumn + 1, EdgeLeft, on);
    };
    auto horizontal = [&](int upperRow, int c) {
        setEdge(upperRow, c, EdgeBottom, on);
        setEdge(upperRow + 1, c, EdgeTop, on);
    };
    for (int r = r1; r <= r2; ++r) {
        if (mask & EdgeLeft)
            vertical(r, c1 - 1);
        if (mask & EdgeRight)
            vertical(r, c2);
        if (mask & EdgeInnerVertical)
            for (int c = c1; c < c2; ++c)
                vertical(r, c);
    }
    for (int c = c1; c <= c2; ++c) {
        if (mask & EdgeTop)
            horizontal(r1 - 1, c);
        if (mask & EdgeBottom)
            horizontal(r2, c);
        if (mask & EdgeInnerHorizontal)
            for (int r = r1; r < r2; ++r)
                horizontal(r, c);
    }
}

int PrintTable::rowHeight(int row) const
{
    if (row < 1 || row > rowCount())
        return 0;
    const int h = m_cells[row - 1].height;
    return h > 0 ? h : m_defaultRowHeight;
}

void PrintTable::setRowHeight(int row, int height)
{
    if (row >= 1 && row <= rowCount())
        m_cells[row - 1].height = std::max(0, height);
}

int PrintTable::columnWidth(int column) const
{
    if (column < 1 || column > m_columns)
        return 0;
    const int w = m_widths[column - 1];
    return w > 0 ? w : m_defaultColumnWidth;
}

void PrintTable::setColumnWidth(int column, int width)
{
    if (column >= 1 && column <= m_columns)
        m_widths[column - 1] = std::max(0, width);
}

int PrintTable::tableWidth() const
{
    int w = 0;
    for (int c = 1; c <= m_columns; ++c)
        w += columnWidth(c);
    return w;
}

void PrintTable::merge(int r1, int c1, int r2, int c2)
{
    const QRect area = QRect(QPoint(c1, r1), QPoint(c2, r2)) & QRect(1, 1, m_columns, rowCount());
    if (area.isEmpty())
        return;
    m_merges.removeIf([&area](const QRect& m) { return m.intersects(area); });
    if (area.width() > 1 || area.height() > 1)
        m_merges.append(area);
}

QRect PrintTable::spanAt(int row, int column) const
{
    for (const QRect& m : m_merges)
        if (m.contains(column, row))
            return m;
    return QRect(column, row, 1, 1);
}

bool PrintTable::pageBreakAfter(int row) const
{
    return row >= 1 && row <= rowCount() && m_cells[row - 1].pageBreak;
}

void PrintTable::setPageBreakAfter(int row, bool on)
{
    if (row >= 1 && row <= rowCount())
        m_cells[row - 1].pageBreak = on;
}

int PrintTable::sheetWidth() const
{
    return int(pageSizeTenthsMm(m_page.paper, m_page.orientation).width());
}

int PrintTable::sheetHeight() const
{
    return int(pageSizeTenthsMm(m_page.paper, m_page.orientation).height());
}

unsigned colourRefToRgb(int colourRef)
{
    const unsigned v = unsigned(colourRef);
    return 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

int rgbToColourRef(unsigned rgb)
{
    return int(((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16));
}

} // namespace mv
