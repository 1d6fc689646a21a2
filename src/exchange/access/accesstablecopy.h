#pragma once
// The table copy engine: every row of one Access table into one SQLite table, columns
// matched by name.

#include <QString>
#include <QStringList>
#include <functional>

namespace mv {

class AccessTable;
class Connection;

struct TableCopy
{
    qint64 rowsRead = 0;
    qint64 rowsWritten = 0;
    QStringList extraColumns;   // Access columns the target lacks: not copied
    QStringList missingColumns; // target columns the Access table lacks: left empty
    QString error;              // what failed; empty when every row was copied
    bool ok() const { return error.isEmpty(); }
};

// Called now and then with the rows read so far.
using CopyProgress = std::function<void(qint64 rowsRead)>;

// Copies the rows of source into targetTable on the (SQLite) connection. Columns are matched
// by name without regard to Latin letter case; a target table that does not exist yet is
// created with the source's column names. Each value is converted for its target column
// (see convertAccessValue). Runs inside the caller's transaction; on failure error names the
// table, row and column, and the caller rolls back.
TableCopy copyAccessTable(AccessTable& source, Connection& target, const QString& targetTable,
                          const CopyProgress& progress = {});

} // namespace mv
