#pragma once
// The stock balance of one item: the integer quantities of its "入库" lines minus those of
// its "出库" lines, matched on material name and model only. The one place the stock of a
// single item is computed; the lists compute every item's at once (stockfigures.h) with the
// same rule.

#include <QString>

namespace mv {

class Connection;

inline QString directionIn()
{
    return QStringLiteral("入库");
}
inline QString directionOut()
{
    return QStringLiteral("出库");
}

// A sum of integer quantities as the 32-bit figure the lists show. The sums themselves are
// kept exact in 64 bits; a figure beyond the int range saturates.
int stockFigure(qint64 sum);

// The exact balance, summed by the database with the program's integer reading of a quantity
// (mv_int) in one aggregate statement. Values are quoted, so names with quotes match; the
// item columns compare without regard to Latin letter case. When the database cannot be read
// the balance is 0 and *ok false (the error in the connection's lastError()).
qint64 StockBalance(Connection& connection, const QString& name, const QString& model,
                    bool* ok = nullptr);

} // namespace mv
