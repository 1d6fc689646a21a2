#include "documents/stockcheck.h"

#include "common/texts.h"
#include "data/builders.h"
#include "data/connection.h"
#include "stock/stockbalance.h"

#include <QHash>

namespace mv {

namespace {

QString foldAscii(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return folded;
}

} // namespace

QString foldedItemKey(const QString& name, const QString& model)
{
    // A unit separator keeps ("ab", "c") apart from ("a", "bc").
    return foldAscii(name) + QChar(0x1f) + foldAscii(model);
}

qint64 itemStock(Connection& connection, const QString& name, const QString& model)
{
    if (!connection.dialect().hasIntegerFunction())
        return StockBalance(connection, name, model);
    // The same sums as StockBalance(), added up by the database from the covering index.
    std::unique_ptr<ResultSet> sums = connection.query(
        u"SELECT 正负, SUM(mv_int(数量)) FROM yclnote WHERE 原材料名字="_qs + sqlQuoted(name) +
            u" AND 型号="_qs + sqlQuoted(model) + u" AND 正负 IN ('入库', '出库') GROUP BY 正负"_qs,
        true);
    qint64 stock = 0;
    for (; sums && !sums->eof(); sums->next())
        stock += (sums->field(0) == directionIn() ? 1 : -1) * sums->value(1).toLongLong();
    return stock;
}

Outcome checkStock(Connection& connection, const QList<DocumentLine>& lines)
{
    struct Item
    {
        qint64 stock = 0;
        qint64 requested = 0;
    };
    QHash<QString, Item> items;
    for (const DocumentLine& line : lines) {
        const QString key = foldedItemKey(line.cell(LineName), line.cell(LineModel));
        auto found = items.find(key);
        if (found == items.end())
            found = items.insert(
                key, {itemStock(connection, line.cell(LineName), line.cell(LineModel)), 0});
        found->requested += toInteger(line.cell(LineQuantity));
        if (found->requested > found->stock)
            return Outcome::refused(u"产品名称："_qs + line.cell(LineName) + u"\r\n产品型号："_qs +
                                        line.cell(LineModel) + u"\r\n库中不够 只有"_qs +
                                        QString::number(stockFigure(found->stock)) +
                                        line.cell(LineUnit) + u" 无法领出！"_qs,
                                    u"错误"_qs);
    }
    return Outcome::success();
}

} // namespace mv
