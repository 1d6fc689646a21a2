#pragma once
// Finding, creating and opening the program's database file db.mdb in the data directory.

#include <QString>

namespace mv {

class Connection;

// 3: the item columns of yclnote and ycl compare without regard to Latin letter case.
// 4: on PostgreSQL those columns are text under the "C" collation instead of citext.
// 5: PostgreSQL keeps the integer reading of each line's quantity in yclnote.数量值.
inline constexpr int kSchemaVersion = 5;

enum class DatabaseFileKind
{
    Missing,
    Sqlite,
    AccessJet,
    Unreadable,
    Unknown
};

// What lies at path: an SQLite file, an Access/Jet file ("Standard Jet DB" or
// "Standard ACE DB" at offset 4), nothing, or something else.
DatabaseFileKind probeDatabaseFile(const QString& path);

// The data directory: the explicit option, else MORVANE_HOME, else the program directory
// when it holds db.mdb or is writable and is no build directory (one holding CMakeCache.txt),
// else the per-user data directory.
QString resolveDataDirectory(const QString& homeOption, const QString& programDirectory);

// Creates every table and index on an empty database, stores the schema version and the
// first account (admin/admin with both rights). Runs in one transaction.
bool createSchema(Connection& connection, QString* error = nullptr);
// Brings an older schema up to kSchemaVersion (carries the tables over to the current
// definitions without losing a row, adds missing tables and indexes); 0 when unversioned.
int schemaVersion(Connection& connection);
// Refuses, without changing anything, a schema newer than kSchemaVersion.
bool upgradeSchema(Connection& connection, QString* error = nullptr);
// True when the database holds any table (in the current schema on PostgreSQL).
bool hasProgramTables(Connection& connection);
// The refusal of a database whose schema version is newer than the program's.
QString newerSchemaMessage(int version);

struct OpenOptions
{
    bool demoData = false; // fill a newly created database with the demo data set
    QString serverUrl;     // a PostgreSQL database to open instead of db.mdb
};

// Opens <dataDirectory>/db.mdb on the connection, creating it (and the directory) on first
// start: built under a temporary name and moved into place without replacing a database
// another copy of the program made meanwhile. Refuses an Access/Jet file with a message saying
// it must be imported, and creates nothing where an import was cut short (see
// strandedAccessFile). On failure returns false with a plain Chinese message in *error that
// says what is wrong and what to do.
bool openDataStore(Connection& connection, const QString& dataDirectory,
                   const OpenOptions& options = {}, QString* error = nullptr);

// Opens a database server URL ("postgresql://user:pw@host:port/db") on the connection: on an
// empty database creates the schema and the first account (and the demo data when asked),
// brings an older schema up, refuses a newer one. On failure false with a plain Chinese
// message in *error (server unreachable, wrong password, database missing, ...).
bool openServerDatabase(Connection& connection, const QString& url, const OpenOptions& options = {},
                        QString* error = nullptr);
// Why an empty server database is not fit for the program's tables (its text encoding or
// character classes), with %1 for the database and %2 for a reason to follow; empty when fit.
QString unsuitableServerDatabase(Connection& connection);
// The plain Chinese reading of a failed server connection attempt.
QString describeServerFailure(const QString& driverMessage);

// An Access file imported from db.mdb is kept beside the new database under a second name.
// The name the Access file takes when it is imported from db.mdb itself: db.mdb.access, or
// db.mdb.access.1, .2, ... when that is taken.
QString freeAccessName(const QString& databasePath);

// The kept Access file that stands where db.mdb is missing, or empty: a new database must not
// be created beside it.
QString strandedAccessFile(const QString& dataDirectory);

// The demo data set: ~40 items in 5 categories, 6 suppliers, 4 projects, 3 months of
// receipts and requisitions ending today, never issuing more than is in stock.
bool fillDemoData(Connection& connection, QString* error = nullptr);

} // namespace mv
