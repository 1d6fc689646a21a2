#pragma once
// Item search: the items whose category, name or model contains a text, with their full
// stock (all lines of the item count, not only matching ones).

#include "stock/queryoutcome.h"

#include <QString>

namespace mv {

class Connection;
class ReportListModel;
class Dialect;

enum class StockSearchField
{
    Category,
    Name,
    Model
};

// The GROUP BY statement of the items whose field contains a text, with one placeholder
// for stockSearchPattern(text). Latin letter case aside, as the item columns compare.
QString stockSearchStatement(const Dialect& dialect, StockSearchField field);
// The pattern that finds text literally inside the field: quotes, '%', '_' and '\' match
// themselves; spaces around the text, which a name does not end in, are not looked for. An
// empty text matches every item whose field is not NULL.
QString stockSearchPattern(const QString& text);

// Replaces the rows of the stock list with the matching items (numbered from 1, datum 0).
// When the database cannot be read the rows stay and the outcome says "搜索失败：…".
QueryOutcome SearchStock(Connection& connection, ReportListModel& list, StockSearchField field,
                         const QString& text);

} // namespace mv
