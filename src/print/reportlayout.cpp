#include "print/reportlayout.h"

#include "common/messages.h"
#include "common/sortmark.h"
#include "common/texts.h"
#include "print/formulas.h"
#include "print/numberformat.h"
#include "print/tablefile.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace mv {

namespace {

const QString kHint = QStringLiteral("提示");

int listAlignmentCode(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return 1;
    if (a & Qt::AlignRight)
        return 2;
    return 0;
}

int gbkLength(const QString& text)
{
    return int(gbkBytes(text).size());
}

// The first bytes of text that fit into capacity, never half a double-byte character.
QString cutToBytes(const QString& text, int capacity)
{
    QString kept;
    int used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, n);
        const int bytes = gbkLength(piece);
        if (used + bytes > capacity)
            break;
        kept += piece;
        used += bytes;
        i += n;
    }
    return kept;
}

class Layout
{
public:
    Layout(const ReportRequest& request, const ReportSource& source, const ReportBuildHooks& hooks)
        : q(request), src(source), hooks(hooks)
    {
    }

    ReportBuildResult run(const QByteArray& templateBytes);

private:
    void placeColumns();
    void fillCells();
    void fillCustomColumns();
    void totalsRow();
    void headerLine();
    void lines();
    void colours();
    void fontsAndHeights();
    void titleRow();
    bool pageSettings();
    void paginate();
    void footerRow(int row);
    void remark();

    const ReportRequest& q;
    const ReportSource& src;
    const ReportBuildHooks& hooks;
    PrintTable t;
    int n = 0;                              // print columns
    int m = 0;                              // data rows
    int first = 1;                          // table column of the first print column
    int spare = 0;                          // template column where custom columns start
    int lastRow = 0;                        // rows 3..lastRow carry lines, fonts and colours
    QString footer;                         // the footer line
    QHash<int, QList<double>> customValues; // unformatted values of custom columns
};

ReportBuildResult Layout::run(const QByteArray& templateBytes)
{
    ReportBuildResult result;
    if (!loadPrintTable(templateBytes, t) || t.rowCount() < 3 || t.columnCount() < 2) {
        msgBox(QStringLiteral("找不到打印表格模板！"), MsgOk, kHint);
        result.status = ReportBuildStatus::NoTemplate;
        return result;
    }
    n = int(q.printColumns.size());
    m = int(src.rows.size());
    first = q.serial ? 2 : 1;
    placeColumns();
    fillCells();
    fillCustomColumns();
    lastRow = t.rowCount();
    if (q.totalsKind != kTotalsNone)
        totalsRow();
    if (q.headerEnabled)
        headerLine();
    lines();
    colours();
    fontsAndHeights();
    bool footerTooLong = false;
    footer = spreadLine(q.footerParts, t.tableWidth(), &footerTooLong);
    if (footerTooLong)
        msgBox(QStringLiteral("页脚长度超过了列宽，页脚将会打印不完全！"), MsgOk, kHint);
    titleRow();
    if (!pageSettings()) {
        result.status = ReportBuildStatus::Cancelled;
        return result;
    }
    // Footer rows are placed once paper, orientation and margins are applied, so they fall
    // where the chosen page ends.
    paginate();
    remark();
    result.table = t;
    return result;
}

void Layout::placeColumns()
{
    t.insertColumns(2, q.serial ? n : n - 1);
    // The spare template column right of the print columns goes in every case; custom
    // columns take its place. Placed before the rows are added, so no row grows twice.
    spare = t.columnCount();
    const int c = int(q.customColumns.size());
    t.insertColumns(spare, c);
    t.deleteColumns(t.columnCount(), 1);
    t.appendRows(m + (q.totalsKind != kTotalsNone ? 1 : 0));
    if (q.serial) {
        t.setColumnWidth(1, 100);
        t.setText(3, 1, QStringLiteral("序号"));
    }
    for (int j = 0; j < n; ++j) {
        const int listColumn = q.printColumns[j];
        const ReportColumn column = listColumn >= 0 && listColumn < src.columns.size()
                                        ? src.columns[listColumn]
                                        : ReportColumn{};
        const int c = first + j;
        t.setColumnWidth(c, int(column.width * 2.5));
        t.setAlignment(4, c, m + 3, c, listAlignmentCode(column.alignment) + 4);
        t.setText(3, c, column.title);
    }
}

void Layout::fillCells()
{
    for (int i = 0; i < m; ++i) {
        const QStringList& cells = src.rows[i];
        const int row = i + 4;
        if (q.serial)
            t.setText(row, 1, QString::number(i + 1));
        for (int j = 0; j < n; ++j) {
            const int listColumn = q.printColumns[j];
            t.setText(row, first + j,
                      listColumn >= 0 && listColumn < cells.size() ? cells[listColumn] : QString());
        }
        if (hooks.pump)
            hooks.pump();
    }
}

void Layout::fillCustomColumns()
{
    const int k = spare - 1;
    const int c = int(q.customColumns.size());
    if (c == 0)
        return;
    // Titles are matched without sort marks: the list may have been sorted since the formula
    // was written.
    QStringList titles;
    for (int x = 1; x <= k; ++x)
        titles << withoutSortMarks(t.text(3, x));
    FormulaEngine engine;
    for (int j = 0; j < c; ++j) {
        const int column = k + 1 + j;
        t.setText(3, column, q.customColumns[j].name);
        FormulaEngine::Column formula =
            engine.compile(withoutSortMarks(q.customColumns[j].formula), titles);
        QList<double>& values = customValues[column];
        values = formula.values(m, [this](int i, int x) { return t.text(i + 4, x); });
        for (int i = 0; i < m; ++i) {
            t.setText(i + 4, column, FormatNumber(values[i], q.customDecimals, q.customSeparators));
            if (hooks.pump)
                hooks.pump();
        }
    }
    t.setAlignment(4, k + 1, m + 3, k + c, kAlignCentre);
}

void Layout::totalsRow()
{
    const int row = m + 4;
    const int columns = t.columnCount();
    if (q.totalsKind == kTotalsCount) {
        t.setText(row, 1,
                  QStringLiteral(" 合计共 ") + QString::number(m) + QStringLiteral(" 条记录"));
        t.setStyle(row, 1, row, 2, 0);
        t.setRowHeight(row, t.rowHeight(3));
        t.merge(row, 1, row, columns);
        return;
    }
    if (q.totalsKind != kTotalsStatistics)
        return;
    t.setText(row, 1, QStringLiteral("统计"));
    for (int c = 2; c <= columns; ++c)
        t.setText(row, c, QStringLiteral("-----"));
    // Without the serial column "统计" and a sum may share column 1: the sum is written last
    // and wins. A statistics title that matches no printed column is skipped.
    for (const QString& title : q.statisticsColumns) {
        for (int c = 1; c <= columns; ++c) {
            if (withoutSortMarks(t.text(3, c)) != withoutSortMarks(title))
                continue;
            double sum = 0;
            if (customValues.contains(c)) {
                // The sum of the values as the column prints them.
                for (double v : customValues.value(c))
                    sum += roundHalfAway(v, q.customDecimals);
            } else {
                for (int r = 4; r <= m + 3; ++r)
                    sum += toNumber(t.text(r, c));
            }
            t.setText(row, c, FormatNumber(sum, q.totalsDecimals, q.totalsSeparators));
            break;
        }
    }
}

void Layout::headerLine()
{
    t.merge(2, 1, 2, t.columnCount());
    bool tooLong = false;
    t.setText(2, 1, spreadLine(q.headerParts, t.tableWidth(), &tooLong));
    if (tooLong)
        msgBox(QStringLiteral("页眉长度超过了列宽，页眉将会打印不完全！"), MsgOk, kHint);
    t.setAlignment(2, 1, 2, t.columnCount(), kAlignLeftMiddle);
    t.setStyle(2, 1, 2, t.columnCount(), 0);
    t.setFontSize(2, 1, 2, t.columnCount(), 30);
}

void Layout::lines()
{
    const int columns = t.columnCount();
    t.setBorders(3, 1, lastRow, columns, EdgeAll, true);
    switch (q.lineStyle) {
    case 2:
        t.setBorders(3, 1, 3, columns, EdgeInnerVertical, false);
        if (lastRow >= 4)
            t.setBorders(4, 1, lastRow, columns, EdgeInnerHorizontal | EdgeInnerVertical, false);
        break;
    case 3:
        t.setBorders(3, 1, lastRow, columns, EdgeInnerVertical, false);
        break;
    case 4:
        t.setBorders(3, 1, lastRow, columns, EdgeInnerHorizontal, false);
        break;
    default:
        break;
    }
}

void Layout::colours()
{
    const int columns = t.columnCount();
    const int scheme = q.colourScheme;
    if (scheme == 0)
        return;
    t.setBackground(3, 1, 3, columns, q.titleRowColour);
    if (m > 0) {
        if (scheme == 1 || scheme == 2)
            t.setBackground(4, 1, m + 3, columns, q.oddColour);
        if (scheme == 2)
            for (int i = 2; i <= m; i += 2)
                t.setBackground(i + 3, 1, i + 3, columns, q.evenColour);
        if (scheme == 3) {
            t.setBackground(4, 1, m + 3, 1, q.oddColour);
            for (int c = 2; c <= columns; ++c)
                t.setBackground(4, c, m + 3, c, c % 2 == 0 ? q.evenColour : q.oddColour);
        }
    }
    if (q.totalsKind != kTotalsNone)
        t.setBackground(m + 4, 1, m + 4, columns, q.titleRowColour);
}

void Layout::fontsAndHeights()
{
    const int columns = t.columnCount();
    const int body = q.bodyFontSize;
    t.setFontSize(3, 1, lastRow, columns, body);
    t.setAlignment(3, 1, 3, columns, kAlignCentre);
    t.setStyle(3, 1, 3, columns, kStyleBold);
    for (int r = 4; r <= m + 3; ++r)
        t.setRowHeight(r, int(body * 1.5));
    t.setRowHeight(3, int(body * 1.7));
    t.setFixedRows(3);
    if (q.totalsKind != kTotalsNone) {
        const int row = m + 4;
        t.setStyle(row, 1, row, columns, 0);
        t.setRowHeight(row, t.rowHeight(3));
        t.setAlignment(row, 1, row, columns, kAlignCentre);
    }
}

void Layout::titleRow()
{
    const int columns = t.columnCount();
    t.merge(1, 1, 1, columns);
    t.setText(1, 1, q.title);
    t.setFontName(1, 1, 1, columns, q.titleFont.name);
    t.setTextColour(1, 1, 1, columns, q.titleFont.colour);
    t.setFontSize(1, 1, 1, columns, q.titleFont.size);
    t.setAlignment(1, 1, 1, columns, kAlignCentre);
    t.setStyle(1, 1, 1, columns, q.titleFont.bold ? kStyleBold : 0);
    t.setRowHeight(1, q.titleFont.size * 3);
}

bool Layout::pageSettings()
{
    PageSettings p = t.pageSettings();
    p.paper = q.paper;
    p.orientation = q.orientation;
    p.scale = 100;
    p.marginLeft = p.marginTop = p.marginRight = p.marginBottom = kReportMargin;
    p.pageNumberPosition = q.pageNumberPosition;
    // The layout breaks the pages itself (paginate): a rows-per-page count left to the
    // renderer would count the footers and the remark as rows too, and on a list shorter
    // than one page push them onto pages of their own.
    p.rowsPerPage = 0;
    // The table is checked against, and centred in, the room the renderer prints into.
    const int width = t.tableWidth();
    const int room = printableWidth(p);
    if (width > room) {
        if (hooks.beforeQuestion)
            hooks.beforeQuestion();
        const int answer = msgBox(QStringLiteral("列宽超过了设定纸张的宽度，确定将进行缩放打印，"
                                                 "取消重新设置合适的纸张！"),
                                  MsgOkCancelWarn, QStringLiteral("询问"));
        if (answer != AnswerOk)
            return false;
        p.scale = -1; // fitted to the width; the rows per page follow from the zoom
    } else {
        if (q.centred)
            p.marginLeft += (room - width) / 2;
    }
    t.setPageSettings(p);
    return true;
}

void Layout::footerRow(int row)
{
    const int columns = t.columnCount();
    t.merge(row, 1, row, columns);
    t.setText(row, 1, footer);
    t.setAlignment(row, 1, row, columns, kAlignTopLeft);
    t.setFontSize(row, 1, row, columns, 30);
    t.setBorders(row, 1, row, columns, EdgeLeft | EdgeRight | EdgeBottom, false);
}

void Layout::paginate()
{
    const PageSettings page = t.pageSettings();
    const int rows = t.rowCount();
    // The page body in table units: a table scaled to the paper's width fits more rows.
    const double zoom = printZoom(page, t.tableWidth());
    const int body = int(printableHeight(page) / zoom - q.titleFont.size * 3 - t.rowHeight(2) -
                         q.bodyFontSize * 1.7);
    if (q.rowsPerPage <= 0) {
        const int p = automaticRowsPerPage(body, t.rowHeight(4));
        // Footer j goes to row j * p + 3, after p - 1 rows of its page; when only one row
        // fits, after that one row rather than before it. Every page up to the last gets one:
        // each footer inserted moves the rows after it on.
        const int step = std::max(2, p);
        for (int j = 1;; ++j) {
            const int at = j * step + 3;
            // A position past the last row would double the closing footer.
            if (at > t.rowCount())
                break;
            t.insertRows(at, 1);
            footerRow(at);
            t.setPageBreakAfter(at, true);
        }
    } else {
        const int p = q.rowsPerPage;
        int k = 0;
        for (int i = 1; i <= rows; ++i) {
            if (i % p == 0 || i == rows) {
                const int at = i + k + 4;
                if (at <= t.rowCount()) {
                    t.insertRows(at, 1);
                    footerRow(at);
                    t.setPageBreakAfter(at, true);
                }
                ++k;
            }
        }
    }
    // The closing footer; what follows it (the remark) stays on the same page.
    t.appendRows(1);
    footerRow(t.rowCount());
}

void Layout::remark()
{
    if (q.remark.isEmpty())
        return;
    const int row = t.rowCount() + 1;
    t.appendRows(3);
    t.setText(row, 1, q.remark);
    t.setFontSize(row, 1, row, t.columnCount(), 30);
    t.setAlignment(row, 1, row, t.columnCount(), kAlignTopLeft);
    t.merge(row, 1, row + 2, t.columnCount());
    t.setRowHeight(row + 2, 150);
}

} // namespace

QString spreadLine(const QStringList& parts, int tableWidth, bool* tooLong)
{
    const int capacity = int(std::floor(tableWidth / 17.0 + 0.5));
    const QString joined = parts.join(QString());
    const int length = gbkLength(joined);
    *tooLong = capacity < length;
    if (*tooLong)
        return cutToBytes(joined, capacity);
    if (parts.size() <= 1)
        return joined;
    const int gap = (capacity - length) / int(parts.size() - 1);
    return parts.join(QString(gap, QLatin1Char(' ')));
}

int automaticRowsPerPage(int bodyHeight, int dataRowHeight)
{
    if (dataRowHeight <= 0)
        return 1;
    const int p = int(std::floor(double(bodyHeight) / dataRowHeight)) - 4;
    return p > 0 ? p : 1;
}

ReportBuildResult buildReportTable(const ReportRequest& request, const ReportSource& source,
                                   const QByteArray& templateBytes, const ReportBuildHooks& hooks)
{
    return Layout(request, source, hooks).run(templateBytes);
}

} // namespace mv
