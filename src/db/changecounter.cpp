#include "db/changecounter.h"

#include "db/connection.h"

namespace mv {

QString changeCounterTableStatement()
{
    return u"CREATE TABLE IF NOT EXISTS morvane_changes "
           u"(id INTEGER PRIMARY KEY, committed BIGINT NOT NULL)"_qs;
}

bool countChange(Connection& connection)
{
    // One statement whether or not the row is there yet.
    return connection.execute(u"INSERT INTO morvane_changes (id, committed) VALUES (1, 1) "
                              u"ON CONFLICT (id) DO UPDATE SET committed = "
                              u"morvane_changes.committed + 1"_qs);
}

std::optional<qint64> changeCount(Connection& connection)
{
    const auto row =
        connection.query(u"SELECT committed FROM morvane_changes WHERE id = 1"_qs, true);
    if (!row)
        return std::nullopt;
    return row->eof() ? 0 : row->value(0).toLongLong();
}

void ensureChangeCounter(Connection& connection)
{
    if (!changeCount(connection))
        connection.execute(changeCounterTableStatement());
}

} // namespace mv
