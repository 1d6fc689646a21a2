#pragma once
// The stock check of a requisition: nothing may be issued beyond the stock on hand.

#include "documents/document.h"

namespace mv {

class Connection;

// Lines asking for the same item (name and model, Latin letter case ignored) are added up
// before they are compared with the item's stock; quantities count as integers (atoi). The
// first line in grid order at which an item's requests exceed its stock is refused with
// "产品名称：…\r\n产品型号：…\r\n库中不够 只有<stock><unit> 无法领出！" (title "错误").
Outcome checkStock(Connection& connection, const QList<DocumentLine>& lines);

// The stock of one item, from one aggregate statement on SQLite.
qint64 itemStock(Connection& connection, const QString& name, const QString& model);

// The item key the check adds requests up under: A-Z folded to a-z.
QString foldedItemKey(const QString& name, const QString& model);

} // namespace mv
