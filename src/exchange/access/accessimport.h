#pragma once
// Importing a shop's Access database (tables user, yclnote, ycldate, ycl, date) into a new
// db.mdb in the data directory, without ever changing the Access file. The file is read in a
// process of its own (see accessimportchild.h), so a damaged file cannot crash the program.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace mv {

struct ImportedTable
{
    QString name;       // the program's table
    bool found = false; // the Access file has it
    qint64 rowsRead = 0;
    qint64 rowsWritten = 0;
    QStringList extraColumns; // Access columns the program does not know: not copied
};

struct AccessImport
{
    bool done = false;
    QString message;    // what failed; empty when done
    QString accessPath; // where the Access file is after the import
    QString databasePath;
    QList<ImportedTable> tables;
};

struct AccessImportOptions
{
    QString jet3Charset = QStringLiteral("GBK"); // code page of Jet 3 texts
    // The Access table to read for a program table, when it is not the table of the same
    // name (for trial runs of the mapping on other files).
    QHash<QString, QString> sourceTables;
    // Reports the table being copied, its rows read so far and its declared row count.
    std::function<void(const QString& table, qint64 rows, qint64 total)> progress;
    // Called while the reader is quiet (every fraction of a second), so that a window can
    // keep itself painted while a slow or stalled reader is waited for.
    std::function<void()> waiting;
    // The Access reader program; empty: the one installed with this program.
    QString readerProgram;
    // A reader that reports no progress for this long is stopped and the import fails.
    int stallSeconds = 60;
};

// The program's tables, in the order they are imported.
const QStringList& importedTableNames();

// Imports accessFile into <dataDirectory>/db.mdb; an existing db.mdb is refused unless it is
// accessFile itself. The new database is built under a temporary name with the current
// schema; only when every row of every table was read and written does it become db.mdb, and
// an Access file that was db.mdb keeps a second name, freeAccessName(), first. On failure
// (a read error, a short read or a row count that does not match, a crash of the reader) the
// Access file is where and as it was, no new file is left behind, and message names the
// table that failed. What the reader printed is appended to importLogPath().
AccessImport importAccessFile(const QString& accessFile, const QString& dataDirectory,
                              const AccessImportOptions& options = {});

// The log of the Access reader's own diagnostics in the data directory.
QString importLogPath(const QString& dataDirectory);

// At start: an import that was cut short (the program killed, the power gone) may have left
// the Access file under its kept name without any db.mdb, and half-built databases. Removes
// the half-built files of imports no longer running, and puts the most recently kept Access
// file back as db.mdb when there is none, so that the import is offered again. True when it
// put a file back.
bool recoverStrandedImport(const QString& dataDirectory);

// Per table: rows read and written; the tables the file lacked; the columns not copied.
QString importSummaryText(const AccessImport& import);

} // namespace mv
