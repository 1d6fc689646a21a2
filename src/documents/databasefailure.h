#pragma once
// The message shown when the database refuses a write.

#include "documents/document.h"

namespace mv {

class Connection;

// Title "错误"; says when another copy of the program holds the database, the server
// connection broke or the disk is full, otherwise names the action and the database's own
// error text.
DocumentOutcome databaseFailure(const Connection& connection, const QString& action);

} // namespace mv
