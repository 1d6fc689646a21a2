#pragma once
// The stock balance of one item: the integer quantities of its "入库" lines minus those of
// its "出库" lines, matched on material name and model only.

#include <QString>

namespace mv {

class Connection;

// The balance most recently computed by StockBalance() or by a list fill.
extern int lastStockBalance;

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

// Two queries (in, then out) summing integer(数量) line by line; stores the result in
// lastStockBalance and returns it. Values are quoted, so names with quotes match.
int StockBalance(Connection& connection, const QString& name, const QString& model);

} // namespace mv
