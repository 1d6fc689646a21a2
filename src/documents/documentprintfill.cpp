#include "documents/documentprintfill.h"

#include "common/oledate.h"
#include "documents/documentrules.h"
#include "documents/formgrid.h"
#include "print/printtable.h"

namespace mv {

namespace {

// Where a grid column of the page goes on a line row, and how it is aligned there.
struct LineCell
{
    int gridColumn;
    int align;
};

// Form columns 1, 2, ... of a line row, in order.
const QList<LineCell>& lineCellsOf(DocumentKind kind)
{
    static const QList<LineCell> receipt{
        {LineName, kAlignLeft},     {LineModel, kAlignLeft},     {LineQuantity, kAlignRight},
        {LineUnit, kAlignCentre},   {ReceiptPrice, kAlignRight}, {ReceiptLineTotal, kAlignRight},
        {ReceiptRemark, kAlignLeft}};
    static const QList<LineCell> requisition{{LineName, kAlignLeft},
                                             {LineModel, kAlignLeft},
                                             {LineQuantity, kAlignRight},
                                             {LineUnit, kAlignCentre},
                                             {RequisitionRemark, kAlignLeft}};
    return kind == DocumentKind::Receipt ? receipt : requisition;
}

void setFormText(PrintTable& table, int formRow, int formColumn, const QString& text)
{
    table.setText(formgrid::row(formRow), formgrid::column(formColumn), text);
}

void writeHeader(PrintTable& table, const PrintedDocument& d, const QString& totals)
{
    const QString date = dateText(d.date);
    if (d.kind == DocumentKind::Receipt) {
        setFormText(table, 2, 1, QStringLiteral("入库单号：") + d.number);
        setFormText(table, 2, 3, QStringLiteral("入库时间：") + date);
        setFormText(table, 2, 6, QStringLiteral("供货单位：") + d.party);
        setFormText(table, 5, 0, QStringLiteral("制单人：") + d.maker);
        setFormText(table, 4, 2, totals);
        return;
    }
    // A requisition has no totals: its form keeps cell (4, 2) as the template has it.
    setFormText(table, 2, 1, QStringLiteral("单号：") + d.number);
    setFormText(table, 2, 3, QStringLiteral("时间：") + date);
    setFormText(table, 2, 5, QStringLiteral("项目：") + d.party);
    setFormText(table, 4, 0, QStringLiteral("制单人：") + d.maker);
    setFormText(table, 4, 3, QStringLiteral("审核：") + d.auditor);
}

// Inserts the line as form row formRow, pushing the template rows below it down.
void insertLine(PrintTable& table, int formRow, int number, const QStringList& cells,
                DocumentKind kind)
{
    const int row = formgrid::row(formRow);
    table.insertRows(row, 1);
    table.setRowHeight(row, formgrid::height(kLineRowPixels));
    const QList<LineCell>& columns = lineCellsOf(kind);
    const int last = formgrid::column(int(columns.size()));
    table.setBorders(row, formgrid::column(0), row, last, EdgeAll, true);
    table.setText(row, formgrid::column(0), QString::number(number));
    table.setAlignment(row, formgrid::column(0), row, formgrid::column(0), kAlignCentre);
    for (int i = 0; i < columns.size(); ++i) {
        const int column = formgrid::column(i + 1);
        table.setText(row, column, cells.value(columns[i].gridColumn));
        table.setAlignment(row, column, row, column, columns[i].align);
    }
    // A long name, model or remark breaks into several lines inside its cell (the row grows
    // to hold them) rather than being cut off at the cell's edge on paper.
    table.setWordWrap(row, formgrid::column(1), row, last, true);
}

} // namespace

void fillPrintForm(PrintTable& table, const PrintedDocument& document)
{
    // A stored receipt ends in its totals row. While a document is added or modified every
    // row is a line, whatever its text: the form mode decides, not the last row's content.
    const bool totalsRow =
        documentRules(document.kind).priced && !document.editing && !document.rows.isEmpty();
    const qsizetype lineCount = document.rows.size() - (totalsRow ? 1 : 0);
    const QString totals = totalsRow ? document.rows.last().value(0) : QString();

    writeHeader(table, document, totals);
    for (int i = 1; i <= lineCount; ++i)
        insertLine(table, kFirstLineFormRow + i - 1, i, document.rows.at(i - 1), document.kind);
}

} // namespace mv
