#pragma once
// The count of committed changes to the documents, one row in the database. Every document
// save, modification, deletion and audit adds one in its own transaction, so a copy of the
// program that filled a list at another count knows, from one cheap query, that the list is
// out of date: another clerk committed something since.

#include <QString>
#include <optional>

namespace mv {

class Connection;

// The table that holds the count (a missing row counts as 0).
QString changeCounterTableStatement();

// Adds one to the count; call inside the transaction of the change. False on failure.
bool countChange(Connection& connection);

// The count as committed; nullopt when it cannot be read.
std::optional<qint64> changeCount(Connection& connection);

// Adds the table to a database that lacks it. A database that cannot be written is left as
// it is: lists read from it are then refreshed every time instead.
void ensureChangeCounter(Connection& connection);

} // namespace mv
