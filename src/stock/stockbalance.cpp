#include "stock/stockbalance.h"

#include "common/texts.h"
#include "db/builders.h"
#include "db/connection.h"

#include <limits>

namespace mv {

int lastStockBalance = 0;

int stockFigure(qint64 sum)
{
    return int(
        std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

namespace {

qint64 sumQuantities(ResultSet* lines)
{
    if (!lines)
        return 0;
    qint64 total = 0;
    const int quantity = lines->columnIndex(QStringLiteral("数量"));
    for (; !lines->eof(); lines->next())
        total += toInteger(lines->value(quantity));
    lines->close();
    return total;
}

} // namespace

int StockBalance(Connection& connection, const QString& name, const QString& model)
{
    const QString lines = u"select * from yclnote where 原材料名字="_qs + sqlQuoted(name) +
                          u"and 型号="_qs + sqlQuoted(model) + u"and 正负="_qs;
    // Both result sets are opened before either is read.
    std::unique_ptr<ResultSet> in = connection.query(lines + sqlQuoted(directionIn()), true);
    std::unique_ptr<ResultSet> out = connection.query(lines + sqlQuoted(directionOut()), true);
    const qint64 inTotal = sumQuantities(in.get());
    const qint64 outTotal = sumQuantities(out.get());
    lastStockBalance = stockFigure(inTotal - outTotal);
    return lastStockBalance;
}

} // namespace mv
