#include "documents/stockcheck.h"

#include "common/texts.h"
#include "db/builders.h"
#include "db/connection.h"
#include "documents/databasefailure.h"
#include "documents/documentload.h"
#include "stock/stockbalance.h"

#include <QHash>

namespace mv {

namespace {

ItemKey lineItem(const DocumentLine& line)
{
    return itemKey(line.cell(LineName), line.cell(LineModel));
}

// The stock check's refusal: the item, the stock left and what cannot be done (领出, 删除, 修改);
// the quantity of the grid row named, when the line is one being typed (row > 0).
DocumentOutcome shortage(const DocumentLine& line, qint64 stock, const QString& what, int row = 0)
{
    return DocumentOutcome::refused(
        u"产品名称："_qs + line.cell(LineName) + u"\r\n产品型号："_qs + line.cell(LineModel) +
            u"\r\n库中不够 只有"_qs + QString::number(stockFigure(stock)) + line.cell(LineUnit) +
            u" 无法"_qs + what + u"！"_qs,
        u"错误"_qs, row > 0 ? DocumentField::Quantity : DocumentField::None, row);
}

} // namespace

QString stockCheckOperation()
{
    return u"检查库存"_qs;
}

DocumentOutcome checkStock(Connection& connection, const QList<DocumentLine>& lines)
{
    struct Item
    {
        qint64 stock = 0;
        qint64 requested = 0;
    };
    QHash<ItemKey, Item> items;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const DocumentLine& line = lines.at(i);
        const ItemKey key = lineItem(line);
        auto found = items.find(key);
        if (found == items.end()) {
            bool read = false;
            const qint64 stock =
                StockBalance(connection, line.cell(LineName), line.cell(LineModel), &read);
            // An unread stock is no shortage of "0": the check itself failed.
            if (!read)
                return databaseFailure(connection, stockCheckOperation());
            found = items.insert(key, {stock, 0});
        }
        found->requested += toInteger(line.cell(LineQuantity));
        if (found->requested > found->stock)
            return shortage(line, found->stock, u"领出"_qs, line.gridRow(i));
    }
    return DocumentOutcome::success();
}

QStringList itemLockKeys(const QList<DocumentLine>& lines)
{
    QStringList keys;
    for (const DocumentLine& line : lines) {
        const ItemKey key = lineItem(line);
        // A unit separator keeps ("ab", "c") apart from ("a", "bc").
        keys.append(u"物料\x1f"_qs + key.name + u'\x1f' + key.model);
    }
    return keys;
}

// The items are locked after the receipt's number: with the number locked, no other clerk
// changes those lines meanwhile, and as a receipt operation holds no item lock while it waits
// for a number, the two steps never wait on each other. A requisition's stock check takes the
// same item locks, so an issue in flight is waited for and then counted.
bool ReceiptStockGuard::take(Connection& connection, const QString& number)
{
    const std::optional<LoadedDocument> stored =
        loadDocument(connection, DocumentKind::Receipt, number);
    if (!stored || !connection.lockKeys(itemLockKeys(stored->lines)))
        return false;
    for (const DocumentLine& line : stored->lines) {
        const ItemKey key = lineItem(line);
        if (m_before.contains(key))
            continue;
        bool read = false;
        const qint64 stock =
            StockBalance(connection, line.cell(LineName), line.cell(LineModel), &read);
        if (!read)
            return false;
        m_lines.append(line);
        m_before.insert(key, stock);
    }
    return true;
}

std::optional<DocumentOutcome> ReceiptStockGuard::refusal(Connection& connection,
                                                          const QString& what) const
{
    for (const DocumentLine& line : m_lines) {
        bool read = false;
        const qint64 stock =
            StockBalance(connection, line.cell(LineName), line.cell(LineModel), &read);
        if (!read)
            return databaseFailure(connection, stockCheckOperation());
        if (stock >= 0)
            continue;
        const qint64 before = m_before.value(lineItem(line));
        return shortage(line, before, what);
    }
    return std::nullopt;
}

} // namespace mv
