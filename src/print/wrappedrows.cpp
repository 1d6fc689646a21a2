#include "print/wrappedrows.h"

#include "print/cellfont.h"
#include "print/printtable.h"

#include <QFontMetricsF>

#include <cmath>

namespace mv {

namespace {

// Text is measured at this many pixels per 0.1 mm, fine enough for the result to hold on any
// device the table is painted on.
constexpr double kMeasureUnit = 10.0;
// Room above and below the wrapped lines, in 0.1 mm.
constexpr int kVerticalRoom = 10;

int neededHeight(const PrintTable& table, const PrintCell& cell, int width)
{
    const QFontMetricsF metrics(cellFont(table, cell, kMeasureUnit));
    const double room = std::max(1.0, (width - 2 * kCellPadding) * kMeasureUnit);
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, room, 1e7), Qt::TextWordWrap, cell.text);
    // Text that fits on one line leaves the row as it is.
    if (bounds.height() < 1.5 * metrics.lineSpacing())
        return 0;
    return int(std::ceil(bounds.height() / kMeasureUnit)) + 2 * kVerticalRoom;
}

} // namespace

void fitWrappedRows(PrintTable& table)
{
    for (int r = 1; r <= table.rowCount(); ++r) {
        int height = table.rowHeight(r);
        for (int c = 1; c <= table.columnCount(); ++c) {
            const QRect span = table.spanAt(r, c);
            const PrintCell& cell = *table.cell(r, c);
            if (!cell.wrap || cell.text.isEmpty() || span.topLeft() != QPoint(c, r) ||
                span.height() > 1)
                continue;
            int width = 0;
            for (int s = span.left(); s <= span.right(); ++s)
                width += table.columnWidth(s);
            height = std::max(height, neededHeight(table, cell, width));
        }
        if (height > table.rowHeight(r))
            table.setRowHeight(r, height);
    }
}

} // namespace mv
