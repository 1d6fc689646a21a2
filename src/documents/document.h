#pragma once
// A receipt or requisition as the document logic sees it: a header and the lines read once
// from the page's grid, plus the outcome every document operation returns to its page.

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

// "入库" / "出库" in yclnote.正负.
QString lineDirection(DocumentKind kind);
// "入" / "出" in ycldate.出入.
QString headerDirection(DocumentKind kind);

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
// The number of stored cells of a line.
int storedColumnCount(DocumentKind kind);

struct DocumentHeader
{
    QString number;
    QDate date;
    QString party; // supplier of a receipt, project of a requisition
    QString category;
    QString maker;
};

// The cells of one grid line, in column order; missing cells count as empty texts.
struct DocumentLine
{
    QStringList cells;
    QString cell(int column) const { return cells.value(column); }
};

struct Document
{
    DocumentKind kind = DocumentKind::Receipt;
    DocumentHeader header;
    QList<DocumentLine> lines;
};

// What an operation did: done, or the message (with its title) to show and the objectName
// of the control that should take the focus (empty: leave the focus where it is).
struct Outcome
{
    bool done = false;
    QString message;
    QString title;
    QString focus;

    static Outcome success(const QString& message = {}, const QString& title = {})
    {
        return {true, message, title, {}};
    }
    static Outcome refused(const QString& message, const QString& title, const QString& focus = {})
    {
        return {false, message, title, focus};
    }
};

} // namespace mv
