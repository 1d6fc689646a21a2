#pragma once
// Fills a form template (a print table) with a receipt or a requisition as its page shows it:
// the header cells, one row per line with its heading number, the totals text of a stored
// receipt, and word wrap for the product names.

#include "documents/document.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

class PrintTable;

// A document page as it stands when printing is asked for.
struct PrintedDocument
{
    DocumentKind kind = DocumentKind::Receipt;
    QString number;
    QDate date;
    QString party; // supplier of a receipt, project of a requisition
    QString maker;
    QString auditor; // requisitions only
    // The grid's data rows (its heading row left out), each with the texts of every column
    // shown: a stored receipt's last row is its totals row.
    QList<QStringList> rows;
    // Added or modified: the grid holds lines only, no totals row.
    bool editing = false;
};

// The form row where the first line goes; later template rows move down as lines go in.
inline constexpr int kFirstLineFormRow = 4;
// A line row's height in list pixels.
inline constexpr int kLineRowPixels = 20;

// Writes the document into table, which holds the kind's template.
void fillPrintForm(PrintTable& table, const PrintedDocument& document);

} // namespace mv
