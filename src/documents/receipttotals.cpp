#include "documents/receipttotals.h"

#include "common/texts.h"

#include <cmath>

namespace mv {

ReceiptTotals receiptTotals(const QList<DocumentLine>& lines)
{
    ReceiptTotals totals;
    float sum = 0.0f;
    for (const DocumentLine& line : lines) {
        const float quantity = float(toNumber(line.cell(LineQuantity)));
        const float price = float(toNumber(line.cell(ReceiptPrice)));
        const float product = quantity * price;
        sum += product;
        totals.lineTotals.append(doubleText(std::round(double(product) * 1000.0) / 1000.0));
    }
    totals.text = QStringLiteral("合计 ：") + singleText(sum) + QStringLiteral("    ");
    return totals;
}

} // namespace mv
