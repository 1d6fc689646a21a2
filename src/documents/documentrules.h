#pragma once
// What sets a receipt apart from a requisition, in one place: the stored directions and
// columns, which header fields must be filled (in which order, with which messages), whether
// lines carry a price (and the form a totals row), whether goods go out (checked against the
// stock) and the document is audited, and the print template. The document logic and the
// pages read these rules rather than asking which kind they have.

#include "documents/document.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

// One header test of a save: the field must not be empty. The test whose field is None is
// the duplicate number test, which runs at that place in the order.
struct HeaderCheck
{
    DocumentField field = DocumentField::None;
    QString emptyMessage;
};

struct DocumentRules
{
    DocumentKind kind = DocumentKind::Receipt;
    QString name;              // as the clerk calls it: 入库单, 领料单
    QString lineDirection;     // yclnote.正负
    QString headerDirection;   // ycldate.出入
    QStringList storedColumns; // the yclnote columns of a line's cells, in grid column order
    int remarkColumn = 0;      // the grid column of the remark
    // Receipts: a price column, a line total beside it and, on a stored document, the
    // totals row; every line needs a name, a quantity and a unit.
    bool priced = false;
    // Requisitions: goods go out, so a save must not issue beyond the stock (and the project
    // is listed for the next documents).
    bool issuesGoods = false;
    // Requisitions: 审核 writes the auditor, whom the form shows.
    bool audited = false;
    QList<HeaderCheck> headerChecks;                    // in order
    DocumentField duplicateFocus = DocumentField::None; // what a duplicate number's refusal names
    QString templateFile;                               // the print template's file name
};

const DocumentRules& documentRules(DocumentKind kind);

} // namespace mv
