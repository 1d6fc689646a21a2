#include "print/tablefile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mv {

namespace {

const QString kFormat = QStringLiteral("morvane-print-table");

QJsonObject pageToJson(const PageSettings& p)
{
    return QJsonObject{
        {QStringLiteral("paper"), p.paper},
        {QStringLiteral("orientation"), p.orientation},
        {QStringLiteral("margins"),
         QJsonArray{p.marginLeft, p.marginTop, p.marginRight, p.marginBottom}},
        {QStringLiteral("pageNumberPosition"), p.pageNumberPosition},
        {QStringLiteral("headerMargin"), p.headerMargin},
        {QStringLiteral("footerMargin"), p.footerMargin},
        {QStringLiteral("firstPageNumber"), p.firstPageNumber},
        {QStringLiteral("copies"), p.copies},
        {QStringLiteral("reserved"),
         QJsonArray{p.reserved12, p.reserved13, p.reserved14, p.reserved15, p.reserved16}},
        {QStringLiteral("documentName"), p.documentName},
        {QStringLiteral("rowsPerPage"), p.rowsPerPage},
        {QStringLiteral("scale"), p.scale},
    };
}

PageSettings pageFromJson(const QJsonObject& o)
{
    PageSettings p;
    auto number = [&o](const char* key, int fallback) {
        return o.value(QLatin1String(key)).toInt(fallback);
    };
    p.paper = number("paper", p.paper);
    p.orientation = number("orientation", p.orientation);
    const QJsonArray m = o.value(QStringLiteral("margins")).toArray();
    if (m.size() == 4) {
        p.marginLeft = m[0].toInt();
        p.marginTop = m[1].toInt();
        p.marginRight = m[2].toInt();
        p.marginBottom = m[3].toInt();
    }
    p.pageNumberPosition = number("pageNumberPosition", p.pageNumberPosition);
    p.headerMargin = number("headerMargin", p.headerMargin);
    p.footerMargin = number("footerMargin", p.footerMargin);
    p.firstPageNumber = number("firstPageNumber", p.firstPageNumber);
    p.copies = number("copies", p.copies);
    const QJsonArray r = o.value(QStringLiteral("reserved")).toArray();
    if (r.size() == 5) {
        p.reserved12 = r[0].toInt();
        p.reserved13 = r[1].toInt();
        p.reserved14 = r[2].toInt();
        p.reserved15 = r[3].toInt();
        p.reserved16 = r[4].toInt();
    }
    p.documentName = o.value(QStringLiteral("documentName")).toString();
    p.rowsPerPage = number("rowsPerPage", p.rowsPerPage);
    p.scale = number("scale", p.scale);
    return p;
}

// Only what differs from a fresh cell is written.
QJsonObject cellToJson(int row, int column, const PrintCell& c)
{
    const PrintCell blank;
    QJsonObject o{{QStringLiteral("r"), row}, {QStringLiteral("c"), column}};
    if (c.text != blank.text)
        o.insert(QStringLiteral("text"), c.text);
    if (c.align != blank.align)
        o.insert(QStringLiteral("align"), c.align);
    if (c.style != blank.style)
        o.insert(QStringLiteral("style"), c.style);
    if (c.textColour != blank.textColour)
        o.insert(QStringLiteral("colour"), c.textColour);
    if (c.background != blank.background)
        o.insert(QStringLiteral("background"), c.background);
    if (c.fontName != blank.fontName)
        o.insert(QStringLiteral("font"), c.fontName);
    if (c.fontSize != blank.fontSize)
        o.insert(QStringLiteral("fontSize"), c.fontSize);
    if (c.edges != blank.edges)
        o.insert(QStringLiteral("edges"), c.edges);
    if (c.wrap != blank.wrap)
        o.insert(QStringLiteral("wrap"), c.wrap);
    return o;
}

} // namespace

QByteArray savePrintTable(const PrintTable& table)
{
    QJsonArray widths, heights, cells, merges, breaks;
    for (int c = 1; c <= table.columnCount(); ++c)
        widths.append(table.columnWidth(c));
    const PrintCell blank;
    for (int r = 1; r <= table.rowCount(); ++r) {
        heights.append(table.rowHeight(r));
        if (table.pageBreakAfter(r))
            breaks.append(r);
        for (int c = 1; c <= table.columnCount(); ++c) {
            const QJsonObject o = cellToJson(r, c, *table.cell(r, c));
            if (o.size() > 2)
                cells.append(o);
        }
    }
    for (const QRect& m : table.merges())
        merges.append(QJsonArray{m.top(), m.left(), m.bottom(), m.right()});
    const QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), 1},
        {QStringLiteral("rows"), table.rowCount()},
        {QStringLiteral("columns"), table.columnCount()},
        {QStringLiteral("font"), table.defaultFontName()},
        {QStringLiteral("fontSize"), table.defaultFontSize()},
        {QStringLiteral("fixedRows"), table.fixedRows()},
        {QStringLiteral("columnWidths"), widths},
        {QStringLiteral("rowHeights"), heights},
        {QStringLiteral("pageBreaks"), breaks},
        {QStringLiteral("cells"), cells},
        {QStringLiteral("merges"), merges},
        {QStringLiteral("page"), pageToJson(table.pageSettings())},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool loadPrintTable(const QByteArray& bytes, PrintTable& table, QString* error, bool* tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    auto failTooLarge = [&fail, tooLarge](const QString& why) {
        if (tooLarge)
            *tooLarge = true;
        return fail(why);
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (doc.isNull())
        return fail(parse.errorString());
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat)
        return fail(QStringLiteral("不是打印表格文件"));
    const int rows = root.value(QStringLiteral("rows")).toInt(-1);
    const int columns = root.value(QStringLiteral("columns")).toInt(-1);
    if (rows < 0 || columns < 0)
        return fail(QStringLiteral("表格的行数或列数无效"));
    if (rows > kMaxTableRows || columns > kMaxTableColumns)
        return failTooLarge(
            QStringLiteral("表格的行数或列数过多：%1行，%2列").arg(rows).arg(columns));
    const QJsonArray cells = root.value(QStringLiteral("cells")).toArray();
    for (const QJsonValue& v : cells) {
        const QString text = v.toObject().value(QStringLiteral("text")).toString();
        if (text.size() * 3 > kMaxCellTextBytes && text.toUtf8().size() > kMaxCellTextBytes)
            return failTooLarge(QStringLiteral("单元格文字过长"));
    }

    PrintTable t(rows, columns);
    t.setDefaultFontName(root.value(QStringLiteral("font")).toString(t.defaultFontName()));
    t.setDefaultFontSize(root.value(QStringLiteral("fontSize")).toInt(t.defaultFontSize()));
    t.setFixedRows(root.value(QStringLiteral("fixedRows")).toInt());
    const QJsonArray widths = root.value(QStringLiteral("columnWidths")).toArray();
    for (int c = 0; c < widths.size() && c < columns; ++c)
        t.setColumnWidth(c + 1, widths[c].toInt());
    const QJsonArray heights = root.value(QStringLiteral("rowHeights")).toArray();
    for (int r = 0; r < heights.size() && r < rows; ++r)
        t.setRowHeight(r + 1, heights[r].toInt());
    for (const QJsonValue& v : root.value(QStringLiteral("pageBreaks")).toArray())
        t.setPageBreakAfter(v.toInt(), true);
    const PrintCell blank;
    for (const QJsonValue& v : cells) {
        const QJsonObject o = v.toObject();
        const int r = o.value(QStringLiteral("r")).toInt();
        const int c = o.value(QStringLiteral("c")).toInt();
        if (!t.cell(r, c))
            return fail(QStringLiteral("单元格位置超出表格：%1,%2").arg(r).arg(c));
        t.setText(r, c, o.value(QStringLiteral("text")).toString());
        t.setAlignment(r, c, r, c, o.value(QStringLiteral("align")).toInt(blank.align));
        t.setStyle(r, c, r, c, o.value(QStringLiteral("style")).toInt(blank.style));
        t.setTextColour(r, c, r, c, o.value(QStringLiteral("colour")).toInt(blank.textColour));
        t.setBackground(r, c, r, c, o.value(QStringLiteral("background")).toInt(blank.background));
        t.setFontName(r, c, r, c, o.value(QStringLiteral("font")).toString());
        t.setFontSize(r, c, r, c, o.value(QStringLiteral("fontSize")).toInt());
        const int edges = o.value(QStringLiteral("edges")).toInt();
        if (edges)
            t.setBorders(r, c, r, c, edges, true);
        t.setWordWrap(r, c, r, c, o.value(QStringLiteral("wrap")).toBool(blank.wrap));
    }
    for (const QJsonValue& v : root.value(QStringLiteral("merges")).toArray()) {
        const QJsonArray m = v.toArray();
        if (m.size() == 4)
            t.merge(m[0].toInt(), m[1].toInt(), m[2].toInt(), m[3].toInt());
    }
    t.setPageSettings(pageFromJson(root.value(QStringLiteral("page")).toObject()));
    table = t;
    return true;
}

QByteArray builtInReportTemplate()
{
    // Three rows (title, header line, column titles) and two columns: the first becomes the
    // serial or first print column, the second is the spare column that ends up right of the
    // print columns. The report layout always deletes the spare column once the data cells
    // are filled (with or without custom columns), so a printed report holds exactly its
    // serial, print and custom columns: the table width, header capacity, "-----" cells,
    // borders and column colours count only those.
    PrintTable t(3, 2);
    t.setColumnWidth(1, 250);
    t.setColumnWidth(2, 250);
    t.setRowHeight(1, 90);
    t.setRowHeight(2, 60);
    t.setRowHeight(3, 60);
    return savePrintTable(t);
}

} // namespace mv
