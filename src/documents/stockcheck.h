#pragma once
// The stock checks: nothing may be issued beyond the stock on hand, and no receipt corrected
// away from under goods already issued.

#include "documents/document.h"
#include "stock/itemkey.h"

#include <QHash>

#include <optional>

namespace mv {

class Connection;

// "检查库存": the operation a failed stock read names.
QString stockCheckOperation();

// Lines asking for the same item (name and model, Latin letter case ignored) are added up
// before they are compared with the item's stock; quantities count as integers (atoi). The
// first line in grid order at which an item's requests exceed its stock is refused with
// "产品名称：…\r\n产品型号：…\r\n库中不够 只有<stock><unit> 无法领出！" (title "错误"). A stock
// that cannot be read fails the check as a database failure of stockCheckOperation().
DocumentOutcome checkStock(Connection& connection, const QList<DocumentLine>& lines);

// The lock keys of the lines' items (Connection::lockKeys), one per line.
QStringList itemLockKeys(const QList<DocumentLine>& lines);

// Taking a stored receipt away (deleting it, or replacing it by a new version) takes its goods
// out of the stock, which must not go below zero where they were issued meanwhile. Inside the
// transaction of the change, after the receipt's number is locked: take() before the change,
// refusal() after it.
class ReceiptStockGuard
{
public:
    // Locks the items of the stored receipt and notes their stock; false on a database failure.
    bool take(Connection& connection, const QString& number);
    // The first item of the receipt whose stock went below zero, refused in the stock check's
    // words with the stock that was left before the change: "产品名称：…\r\n产品型号：…\r\n
    // 库中不够 只有<stock><unit> 无法<what>！"; what names the change (删除 / 修改). A stock that
    // cannot be read refuses the change as a database failure.
    std::optional<DocumentOutcome> refusal(Connection& connection, const QString& what) const;

private:
    QList<DocumentLine> m_lines; // one line per item
    QHash<ItemKey, qint64> m_before;
};

} // namespace mv
