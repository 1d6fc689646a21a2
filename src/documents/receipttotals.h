#pragma once
// The totals row under a stored receipt.

#include "documents/document.h"

namespace mv {

struct ReceiptTotals
{
    QStringList lineTotals; // column 6 of each line: quantity × price
    QString text;           // "合计 ：" + the total + four spaces
};

// Quantities and prices are read as decimal numbers (non-numeric text counts 0); the total
// adds the unrounded products. Amounts are plain decimal text, never in exponent form: with
// two decimals ("123456.78", "3.00") when any price has decimals, otherwise rounded to at
// most three decimals ("1234567", "7.5").
ReceiptTotals receiptTotals(const QList<DocumentLine>& lines);

} // namespace mv
