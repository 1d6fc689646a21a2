#include "stock/stockbalance.h"

#include "db/connection.h"

#include <limits>

namespace mv {

int stockFigure(qint64 sum)
{
    return int(
        std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

qint64 StockBalance(Connection& connection, const QString& name, const QString& model, bool* ok)
{
    // Added up by the database from the covering index yclnote(原材料名字, 型号, 正负, ...).
    const Dialect& dialect = connection.dialect();
    std::unique_ptr<ResultSet> sums = connection.query(
        u"SELECT 正负, SUM(mv_int(数量)) FROM yclnote WHERE "_qs +
            dialect.itemEquals(u"原材料名字"_qs) + u" AND "_qs + dialect.itemEquals(u"型号"_qs) +
            u" AND 正负 IN ('入库', '出库') GROUP BY 正负"_qs,
        {name, model}, true);
    if (ok)
        *ok = sums != nullptr;
    qint64 stock = 0;
    for (; sums && !sums->eof(); sums->next())
        stock += (sums->field(0) == directionIn() ? 1 : -1) * sums->value(1).toLongLong();
    return stock;
}

} // namespace mv
