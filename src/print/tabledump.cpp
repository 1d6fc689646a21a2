#include "print/tabledump.h"

#include "print/printtable.h"

#include <QStringList>

namespace mv {

namespace {

QString colourText(int colourRef)
{
    return QStringLiteral("%1").arg(unsigned(colourRef) & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

QString edgesText(int edges)
{
    QString t;
    t += (edges & EdgeLeft) ? QLatin1Char('L') : QLatin1Char('.');
    t += (edges & EdgeTop) ? QLatin1Char('T') : QLatin1Char('.');
    t += (edges & EdgeRight) ? QLatin1Char('R') : QLatin1Char('.');
    t += (edges & EdgeBottom) ? QLatin1Char('B') : QLatin1Char('.');
    return t;
}

QString cellText(const PrintCell& c)
{
    const PrintCell blank;
    QStringList parts{QLatin1Char('"') + c.text + QLatin1Char('"')};
    if (c.align != blank.align)
        parts << QStringLiteral("a%1").arg(c.align);
    if (c.style != blank.style)
        parts << QStringLiteral("s%1").arg(c.style);
    if (c.textColour != blank.textColour)
        parts << QStringLiteral("fg=") + colourText(c.textColour);
    if (c.background != blank.background)
        parts << QStringLiteral("bg=") + colourText(c.background);
    if (c.fontName != blank.fontName)
        parts << QStringLiteral("font=") + c.fontName;
    if (c.fontSize != blank.fontSize)
        parts << QStringLiteral("size=%1").arg(c.fontSize);
    if (c.edges != blank.edges)
        parts << edgesText(c.edges);
    if (c.wrap != blank.wrap)
        parts << QStringLiteral("wrap");
    return parts.join(QLatin1Char(' '));
}

} // namespace

QString dumpPrintTable(const PrintTable& table)
{
    QStringList lines;
    const PageSettings p = table.pageSettings();
    lines << QStringLiteral("table %1x%2 fixed %3 width %4")
                 .arg(table.rowCount())
                 .arg(table.columnCount())
                 .arg(table.fixedRows())
                 .arg(table.tableWidth());
    lines << QStringLiteral("page paper %1 orientation %2 margins %3,%4,%5,%6 pagenumber %7 "
                            "rows %8 scale %9")
                 .arg(p.paper)
                 .arg(p.orientation)
                 .arg(p.marginLeft)
                 .arg(p.marginTop)
                 .arg(p.marginRight)
                 .arg(p.marginBottom)
                 .arg(p.pageNumberPosition)
                 .arg(p.rowsPerPage)
                 .arg(p.scale);
    QStringList widths;
    for (int c = 1; c <= table.columnCount(); ++c)
        widths << QString::number(table.columnWidth(c));
    lines << QStringLiteral("widths ") + widths.join(QLatin1Char(' '));
    for (int r = 1; r <= table.rowCount(); ++r) {
        lines << QStringLiteral("row %1 h %2%3")
                     .arg(r)
                     .arg(table.rowHeight(r))
                     .arg(table.pageBreakAfter(r) ? QStringLiteral(" break") : QString());
        for (int c = 1; c <= table.columnCount(); ++c)
            lines << QStringLiteral("  %1: ").arg(c) + cellText(*table.cell(r, c));
    }
    QStringList merges;
    for (const QRect& m : table.merges())
        merges << QStringLiteral("%1,%2-%3,%4")
                      .arg(m.top())
                      .arg(m.left())
                      .arg(m.bottom())
                      .arg(m.right());
    lines << QStringLiteral("merges ") + merges.join(QLatin1Char(' '));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace mv
