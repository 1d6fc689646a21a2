#include "stock/queryoutcome.h"

#include "db/connection.h"

namespace mv {

QueryOutcome queryFailed(const Connection& connection, const QString& operation)
{
    return QueryOutcome::refused(operation + u"失败："_qs + connection.lastErrorForUser(),
                                 u"错误"_qs);
}

} // namespace mv
