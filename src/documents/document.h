#pragma once
// A receipt or requisition as the document logic sees it: a header and the lines read once
// from the page's grid, plus the outcome every document operation returns to its page.

#include "common/outcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

enum class DocumentKind
{
    Receipt,     // goods in from a supplier (采购入库)
    Requisition, // goods out to a project (领料出库)
};

// Grid columns of a line. Receipts: name, model, quantity, unit, price, remark (and the
// displayed line total in column 6); requisitions: name, model, quantity, unit, remark.
enum LineColumn : int
{
    LineName = 0,
    LineModel = 1,
    LineQuantity = 2,
    LineUnit = 3,
    ReceiptPrice = 4,
    ReceiptRemark = 5,
    ReceiptLineTotal = 6,
    RequisitionRemark = 4,
};

struct DocumentHeader
{
    QString number;
    QDate date;
    QString party; // supplier of a receipt, project of a requisition
    QString category;
    QString maker;
    bool operator==(const DocumentHeader&) const = default;
};

// The cells of one grid line, in column order; missing cells count as empty texts.
struct DocumentLine
{
    QStringList cells;
    int row = 0; // the grid row the line was read from (1: the first line), 0 when not known
    // The grid row to name in a refusal: row, or the line's place (index + 1) when not known.
    int gridRow(qsizetype index) const { return row > 0 ? row : int(index) + 1; }
    QString cell(int column) const { return cells.value(column); }
    // Every cell empty or blank: a row the clerk left unused.
    bool isBlank() const;
    bool operator==(const DocumentLine& other) const { return cells == other.cells; }
};

struct Document
{
    DocumentKind kind = DocumentKind::Receipt;
    DocumentHeader header;
    QList<DocumentLine> lines;
    bool operator==(const Document&) const = default;
};

// The document without the lines whose cells are all empty: such grid rows are not stored.
Document withoutBlankLines(Document document);

// The part of the form a refusal asks the clerk to correct.
enum class DocumentField
{
    None, // leave the focus where it is
    Number,
    Party,
    Category,
    Maker,
    Quantity, // the quantity cell of the grid row Outcome::row
    LineName, // the product name cell of that row
    LineUnit, // the unit cell of that row
};

// What a document operation did, and the field a refusal names.
using DocumentOutcome = Outcome<DocumentField>;

} // namespace mv
