#pragma once
// The program's database connection: open/close, queries returning result sets read record
// by record, executes with a success flag, and transactions. Every module talks to the
// database through this class; nothing else uses Qt SQL directly.

#include "db/dialect.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3;
class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace mv {

class ResultSetPrivate;

// One query's records. The first record is current right after the query.
class ResultSet
{
public:
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    bool eof() const; // past the last record (or no records)
    void first();
    void next();
    void previous();
    void last();

    // The field of the current record as text; empty text with no current record or an
    // unknown column.
    QString field(const QString& column) const;
    QVariant value(const QString& column) const;
    // Faster access by position for long loops.
    int columnIndex(const QString& column) const;
    QString field(int column) const;
    QVariant value(int column) const;

    void close();

private:
    friend class Connection;
    explicit ResultSet(std::unique_ptr<ResultSetPrivate> d);
    std::unique_ptr<ResultSetPrivate> d;
};

class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an SQLite database file (created when missing).
    bool openSqlite(const QString& path, QString* error = nullptr);
    // Opens a database URL: "sqlite:PATH" or "postgresql://user:pw@host:port/db".
    bool openUrl(const QString& url, QString* error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const; // file path for SQLite, empty otherwise
    // What openUrl() opened (with its password); empty for a file opened by path.
    QString url() const { return m_url; }
    // The data directory of a server database (backups, settings); a file's is its directory.
    void setHomeDirectory(const QString& directory) { m_home = directory; }
    QString homeDirectory() const { return m_home; }

    const Dialect& dialect() const { return m_dialect; }

    // nullptr when the statement fails or is empty. forwardOnly trades previous()/last()
    // for speed on long results.
    std::unique_ptr<ResultSet> query(const QString& sql, bool forwardOnly = false);
    bool execute(const QString& sql);
    // The same with values bound to the statement's positional '?' placeholders, in order:
    // what a user typed goes to the database as a value and never becomes part of the SQL.
    // A text binds as text (an empty or null QString as ''); only an invalid QVariant is NULL.
    std::unique_ptr<ResultSet> query(const QString& sql, const QVariantList& values,
                                     bool forwardOnly = false);
    bool execute(const QString& sql, const QVariantList& values);
    QString lastError() const { return m_lastError; }
    // The last failure as a clerk reads it: a lock held by another program, a full disk, a
    // read-only or damaged file, a failing disk and a broken server connection said in
    // Chinese, anything else in the database's own words.
    QString lastErrorForUser() const;
    // Rows changed by the last successful execute(); -1 when unknown.
    int rowsAffected() const { return m_rowsAffected; }
    // True when the last failure came from another program holding the database lock.
    bool lastErrorWasBusy() const { return m_busy; }
    // True when the last failure was the server connection breaking (PostgreSQL). The next
    // statement or transaction opens the connection again.
    bool lastErrorWasConnectionLost() const { return m_lost; }
    // True when the last failure was a unique constraint refusing a second equal key.
    bool lastErrorWasDuplicateKey() const { return m_duplicate; }
    // True when the last failure was the disk (or the server's) having no room left to write.
    bool lastErrorWasDiskFull() const { return m_full; }
    // True when the last failure was a write to a database that takes none: a file (or its
    // directory) without write permission, a read-only server.
    bool lastErrorWasReadOnly() const { return m_readOnly; }

    // On SQLite, begin() takes the write lock at once (BEGIN IMMEDIATE), waiting up to the
    // busy timeout for a second copy of the program to finish its write.
    bool begin();
    bool commit();
    bool rollback();

    // How long a statement waits for a database locked by another connection.
    static constexpr int kBusyTimeoutMs = 5000;

    // Inside a transaction: waits until no other connection works under any of these keys,
    // holding them until the transaction ends. On SQLite the transaction already holds the
    // whole database (BEGIN IMMEDIATE), so there is nothing more to take.
    bool lockKeys(const QStringList& keys);

    // The native handle of an SQLite connection (for registering functions), else nullptr.
    sqlite3* sqliteHandle() const;

private:
    friend class Transaction;
    // Runs a transaction step on the open database, keeping its error on failure.
    bool runOnDatabase(bool (QSqlDatabase::*step)());
    void noteError(const QString& text, bool busy);
    void noteError(const QSqlError& error);
    // Opens the connection again after it was lost; false when the server is still away.
    bool reconnectIfLost();
    // Checks the connection before a statement; false (with the reason kept) when unusable.
    bool readyFor(const QString& sql);
    // Prepares (when values are given) and runs the statement on q.
    bool run(QSqlQuery& q, const QString& sql, const QVariantList* values);
    // A forward-only query of an SQLite database, read straight from SQLite.
    std::unique_ptr<ResultSet> readSqlite(sqlite3* handle, std::unique_ptr<ResultSetPrivate> d,
                                          const QString& sql, const QVariantList& values);
    friend class ResultSetPrivate;
    void forgetRows(ResultSetPrivate* rows);
    // Transaction units: only the outermost begins and commits; an inner unit that ends
    // without committing makes the outermost roll back.
    bool beginUnit();
    bool endUnit(bool committed);

    QString m_name; // Qt connection name, unique per object
    QString m_path;
    QString m_url; // what openUrl() opened, for reconnecting
    QString m_home;
    QString m_lastError;
    Dialect m_dialect;
    int m_rowsAffected = -1;
    bool m_busy = false;
    bool m_lost = false;
    bool m_duplicate = false;
    bool m_full = false;
    bool m_readOnly = false;
    bool m_damaged = false; // SQLITE_CORRUPT, SQLITE_NOTADB
    bool m_ioError = false; // SQLITE_IOERR: the disk or the network under the file
    int m_unitDepth = 0;
    bool m_unitFailed = false;
    QList<ResultSetPrivate*> m_reading; // forward-only SQLite results not yet destroyed
};

// A failure (code) of a call of SQLite's own API on handle, a backup's or a restore's, as a
// clerk reads it: a lock held by another program, a full disk and a read-only file said as
// lastErrorForUser() says them, anything else in the database's own words.
QString sqliteFailureForUser(int code, sqlite3* handle);

// One unit of work: rolls back on destruction unless committed. Guards nest: only the
// outermost begins and commits, so helpers may each take one and a caller can still make
// several of them a single unit.
class Transaction
{
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool active() const { return m_active; }
    // For an inner guard: true, the outermost decides; for the outermost: the commit's result.
    bool commit();

private:
    Connection& m_connection;
    bool m_active = false;
};

} // namespace mv
