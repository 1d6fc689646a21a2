#include "print/tablerenderer.h"

#include "print/cellfont.h"
#include "print/printtable.h"

#include "common/replacementfile.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace mv {

namespace {

int fixedHeight(const PrintTable& t)
{
    int h = 0;
    for (int r = 1; r <= std::min(t.fixedRows(), t.rowCount()); ++r)
        h += t.rowHeight(r);
    return h;
}

bool hasMarkedBreaks(const PrintTable& t)
{
    for (int r = t.fixedRows() + 1; r <= t.rowCount(); ++r)
        if (t.pageBreakAfter(r))
            return true;
    return false;
}

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case kAlignTopLeft:
        return Qt::AlignLeft | Qt::AlignTop;
    case kAlignCentre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case kAlignRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

class PagePainter
{
public:
    PagePainter(const PrintTable& t, QPainter& painter, double unit)
        : m_t(t), m_p(painter), m_unit(unit)
    {
        m_x.append(0);
        for (int c = 1; c <= t.columnCount(); ++c)
            m_x.append(m_x.last() + t.columnWidth(c));
        // The merges by row: a long table has one per page (its footer), and looking each
        // cell up among all of them would make painting grow with the square of the rows.
        m_merges.resize(t.rowCount() + 1);
        for (const QRect& m : t.merges())
            for (int r = std::max(1, m.top()); r <= std::min(t.rowCount(), m.bottom()); ++r)
                m_merges[r].append(m);
    }

    // Paints the given rows (table numbers, in order) starting at y (0.1 mm).
    void paintRows(const QList<int>& rows, double originX, double originY)
    {
        QList<double> top;
        double y = originY;
        for (int r : rows) {
            top.append(y);
            y += m_t.rowHeight(r);
        }
        for (int i = 0; i < rows.size(); ++i)
            for (int c = 1; c <= m_t.columnCount(); ++c)
                paintCell(rows, top, i, c, originX);
    }

private:
    QRect spanAt(int row, int column) const
    {
        for (const QRect& m : m_merges[row])
            if (m.contains(column, row))
                return m;
        return QRect(column, row, 1, 1);
    }

    QRectF toDevice(double x, double y, double w, double h) const
    {
        return {x * m_unit, y * m_unit, w * m_unit, h * m_unit};
    }

    void paintCell(const QList<int>& rows, const QList<double>& top, int i, int c, double ox)
    {
        const int r = rows[i];
        const QRect span = spanAt(r, c);
        // A merge is painted once, from its first row and column present on this page, over
        // the part of it that is on the page.
        if (c != span.left())
            return;
        if (r != span.top() && i > 0 && rows[i - 1] >= span.top() && rows[i - 1] <= span.bottom())
            return;
        double height = 0;
        for (int j = i; j < rows.size() && rows[j] <= span.bottom(); ++j)
            height += m_t.rowHeight(rows[j]);
        const double x = ox + m_x[span.left() - 1];
        const double w = m_x[span.right()] - m_x[span.left() - 1];
        const QRectF box = toDevice(x, top[i], w, height);
        const PrintCell& cell = *m_t.cell(span.top(), span.left());

        if (cell.background != kNoColour)
            m_p.fillRect(box, QColor::fromRgb(colourRefToRgb(cell.background)));
        if (!cell.text.isEmpty()) {
            const double pad = kCellPadding * m_unit;
            const QRectF inner = box.adjusted(pad, 0, -pad, 0);
            QFont font = cellFont(m_t, cell, m_unit);
            if (!cell.wrap && (span.width() > 1 || r <= m_t.fixedRows()))
                shrinkToWidth(font, cell.text, inner.width());
            m_p.setFont(font);
            m_p.setPen(QColor::fromRgb(colourRefToRgb(cell.textColour)));
            const int flags =
                int(alignmentOf(cell.align)) | (cell.wrap ? int(Qt::TextWordWrap) : 0);
            m_p.drawText(inner, flags, cell.text);
        }
        paintEdges(span, rows, top, i, ox);
    }

    // A line of text wider than its merged cell or its cell in the rows repeated on every
    // page (a long title over a narrow table) is printed smaller rather than cut at both
    // ends. Only texts that might not fit are measured.
    void shrinkToWidth(QFont& font, const QString& text, double width) const
    {
        if (width <= 0 || text.size() * font.pixelSize() <= width)
            return;
        auto advance = [&] { return QFontMetricsF(font, m_p.device()).horizontalAdvance(text); };
        for (double wide = advance(); wide > width && font.pixelSize() > 1; wide = advance())
            font.setPixelSize(
                std::max(1, std::min(font.pixelSize() - 1, int(font.pixelSize() * width / wide))));
    }

    // Lines on the outline of the span, taken from the cells along it.
    void paintEdges(const QRect& span, const QList<int>& rows, const QList<double>& top, int i,
                    double ox)
    {
        QPen pen(Qt::black);
        pen.setWidthF(std::max(1.0, 2 * m_unit));
        m_p.setPen(pen);
        for (int j = i; j < rows.size() && rows[j] <= span.bottom(); ++j) {
            const int r = rows[j];
            const double y0 = top[j] * m_unit;
            const double y1 = (top[j] + m_t.rowHeight(r)) * m_unit;
            const double xl = (ox + m_x[span.left() - 1]) * m_unit;
            const double xr = (ox + m_x[span.right()]) * m_unit;
            if (m_t.cell(r, span.left())->edges & EdgeLeft)
                m_p.drawLine(QPointF(xl, y0), QPointF(xl, y1));
            if (m_t.cell(r, span.right())->edges & EdgeRight)
                m_p.drawLine(QPointF(xr, y0), QPointF(xr, y1));
            for (int c = span.left(); c <= span.right(); ++c) {
                const double x0 = (ox + m_x[c - 1]) * m_unit;
                const double x1 = (ox + m_x[c]) * m_unit;
                const int edges = m_t.cell(r, c)->edges;
                // The top line on the first row of the span drawn here, the bottom line on
                // its last row (also when the page cuts the span).
                const bool firstHere = j == i;
                const bool lastHere = j + 1 == rows.size() || rows[j + 1] > span.bottom();
                if (firstHere && (m_t.cell(span.top(), c)->edges & EdgeTop))
                    m_p.drawLine(QPointF(x0, y0), QPointF(x1, y0));
                if (lastHere &&
                    ((edges & EdgeBottom) || (m_t.cell(span.bottom(), c)->edges & EdgeBottom)))
                    m_p.drawLine(QPointF(x0, y1), QPointF(x1, y1));
            }
        }
    }

    const PrintTable& m_t;
    QPainter& m_p;
    double m_unit; // device pixels per 0.1 mm
    QList<double> m_x;
    QList<QList<QRect>> m_merges; // by row
};

void paintPageNumber(QPainter& p, const PrintTable& t, int number, double unit)
{
    const PageSettings s = t.pageSettings();
    const int pos = s.pageNumberPosition;
    if (pos < 1 || pos >= kPageNumberPositions)
        return;
    PrintCell numberCell;
    numberCell.fontSize = 30;
    p.setFont(cellFont(t, numberCell, unit));
    p.setPen(Qt::black);
    const double h = 40 * unit;
    const double y =
        pos <= 3 ? s.headerMargin * unit : (t.sheetHeight() - s.footerMargin) * unit - h;
    const QRectF line(s.marginLeft * unit, y, printableWidth(s) * unit, h);
    const int column = (pos - 1) % 3;
    const Qt::Alignment align = column == 0   ? Qt::AlignLeft
                                : column == 1 ? Qt::AlignHCenter
                                              : Qt::AlignRight;
    p.drawText(line, int(align | Qt::AlignVCenter),
               QStringLiteral("第 %1 页").arg(number + s.firstPageNumber - 1));
}

} // namespace

QList<PageRows> planPages(const PrintTable& table)
{
    QList<PageRows> pages;
    const double zoom = printZoom(table.pageSettings(), table.tableWidth());
    const double room = printableHeight(table.pageSettings()) / zoom - fixedHeight(table);
    const bool marked = hasMarkedBreaks(table);
    const int perPage = marked ? 0 : table.pageSettings().rowsPerPage;
    const int first = std::min(table.fixedRows(), table.rowCount()) + 1;
    PageRows page{first, first - 1};
    double used = 0;
    for (int r = first; r <= table.rowCount(); ++r) {
        const int h = table.rowHeight(r);
        const bool full =
            page.last >= page.first &&
            (used + h > room || (perPage > 0 && page.last - page.first + 1 >= perPage));
        if (full) {
            pages.append(page);
            page = PageRows{r, r - 1};
            used = 0;
        }
        page.last = r;
        used += h;
        if (table.pageBreakAfter(r) && r < table.rowCount()) {
            pages.append(page);
            page = PageRows{r + 1, r};
            used = 0;
        }
    }
    pages.append(page);
    return pages;
}

QPageLayout printPageLayout(const PrintTable& table)
{
    const PageSettings s = table.pageSettings();
    const QPageSize size(paperSizeMm(s.paper), QPageSize::Millimeter, paperCaption(s.paper),
                         QPageSize::ExactMatch);
    return QPageLayout(size, s.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool renderPrintTable(const PrintTable& table, QPagedPaintDevice& device, QString* error)
{
    const PageSettings s = table.pageSettings();
    const QPageLayout layout = printPageLayout(table);
    device.setPageLayout(layout);

    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("无法开始打印输出");
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Device pixels per 0.1 mm on the full page (the layout has no margins of its own).
    const double unit = device.logicalDpiX() / 254.0;
    const double zoom = printZoom(s, table.tableWidth());
    QList<int> fixed;
    for (int r = 1; r <= std::min(table.fixedRows(), table.rowCount()); ++r)
        fixed.append(r);
    const QList<PageRows> pages = planPages(table);
    PagePainter cells(table, painter, unit * zoom);
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            if (error)
                *error = QStringLiteral("无法开始新的一页");
            painter.end();
            return false;
        }
        QList<int> rows = fixed;
        for (int r = pages[i].first; r <= pages[i].last; ++r)
            rows.append(r);
        cells.paintRows(rows, s.marginLeft / zoom, s.marginTop / zoom);
        paintPageNumber(painter, table, i + 1, unit);
    }
    painter.end();
    return true;
}

bool renderPrintTableToPdf(const PrintTable& table, const QString& path, QString* error)
{
    // Written beside the target and renamed over it once whole: a disk filling up midway
    // leaves the file that was there and says so, instead of a cut-off PDF said to be saved.
    QString reason;
    const auto fail = [&reason, error] {
        if (error)
            *error = reason;
        return false;
    };
    ReplacementFile file(path);
    if (!file.create(&reason))
        return fail();
    QFile out(file.temporaryPath());
    if (!out.open(QIODevice::WriteOnly))
        return reason = out.errorString(), fail();
    bool rendered = false;
    {
        QPdfWriter writer(&out);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Morvane"));
        writer.setTitle(table.pageSettings().documentName);
        rendered = renderPrintTable(table, writer, &reason);
    }
    // The writer does not report failed writes (at most a page it could not start); the file
    // tells of them, though not always why.
    if (!out.flush() || out.error() != QFileDevice::NoError)
        return reason = QStringLiteral("文件没有写完（磁盘空间可能已满）"), fail();
    if (!rendered)
        return fail();
    out.close();
    return file.commit(&reason) || fail();
}

} // namespace mv
