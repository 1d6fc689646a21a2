#pragma once
// The totals row under a stored receipt.

#include "documents/document.h"

namespace mv {

struct ReceiptTotals
{
    QStringList lineTotals; // column 6 of each line: quantity × price rounded to 3 decimals
    QString text;           // "合计 ：" + the single-precision total ("%.6g") + four spaces
};

// Quantities and prices are read as single-precision numbers (non-numeric text counts 0);
// the total adds the unrounded products.
ReceiptTotals receiptTotals(const QList<DocumentLine>& lines);

} // namespace mv
