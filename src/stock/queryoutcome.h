#pragma once
// What a query behind a list did: read, or failed. A failed query leaves the list as it was
// and says which operation failed and what the database reported.

#include "common/outcome.h"

namespace mv {

class Connection;

using QueryOutcome = Outcome<>;

// "<operation>失败：<the database's last error>", title "错误".
QueryOutcome queryFailed(const Connection& connection, const QString& operation);

} // namespace mv
