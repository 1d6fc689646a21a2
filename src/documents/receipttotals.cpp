#include "documents/receipttotals.h"

#include "common/texts.h"

#include <cmath>

namespace mv {

namespace {

// Plain decimal text, never an exponent: two decimals for money, else at most three.
QString amountText(double value, bool cents)
{
    if (cents)
        return QString::number(std::round(value * 100.0) / 100.0 + 0.0, 'f', 2);
    QString text = QString::number(std::round(value * 1000.0) / 1000.0 + 0.0, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == u"-0" ? QStringLiteral("0") : text;
}

} // namespace

ReceiptTotals receiptTotals(const QList<DocumentLine>& lines)
{
    ReceiptTotals totals;
    const bool cents = std::any_of(lines.begin(), lines.end(), [](const DocumentLine& line) {
        return foldFullWidth(line.cell(ReceiptPrice)).contains(u'.');
    });
    double sum = 0.0;
    for (const DocumentLine& line : lines) {
        const double product =
            toNumber(line.cell(LineQuantity)) * toNumber(line.cell(ReceiptPrice));
        sum += product;
        totals.lineTotals.append(amountText(product, cents));
    }
    totals.text = QStringLiteral("合计 ：") + amountText(sum, cents) + QStringLiteral("    ");
    return totals;
}

} // namespace mv
