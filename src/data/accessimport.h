#pragma once
// Importing a shop's Access database (tables user, yclnote, ycldate, ycl, date) into a new
// db.mdb in the data directory, without ever changing the Access file.

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
};

// The program's tables, in the order they are imported.
const QStringList& importedTableNames();

// The name the Access file takes when it is imported from db.mdb itself: db.mdb.access, or
// db.mdb.access.1, .2, ... when that is taken.
QString freeAccessName(const QString& databasePath);

// Imports accessFile into <dataDirectory>/db.mdb. When accessFile is that db.mdb itself it is
// first renamed to freeAccessName(); otherwise an existing db.mdb is refused. The new
// database is built under a temporary name with the current schema and renamed to db.mdb
// only when every row was written. On failure the Access file is back where and as it was,
// no new file is left behind, and message says what failed.
AccessImport importAccessFile(const QString& accessFile, const QString& dataDirectory,
                              const AccessImportOptions& options = {});

// Per table: rows read and written; the tables the file lacked; the columns not copied.
QString importSummaryText(const AccessImport& import);

} // namespace mv
