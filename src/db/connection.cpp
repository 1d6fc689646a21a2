#include "db/connection.h"

#include "db/databasechoiceurl.h"
#include "db/sqlfunctions.h"
#include "db/sqliterows.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace mv {

class ResultSetPrivate
{
public:
    ~ResultSetPrivate()
    {
        if (owner)
            owner->forgetRows(this);
    }

    QSqlQuery query;
    QSqlRecord record; // column names, read once
    // A forward-only SQLite result is read straight from SQLite instead of the query; its
    // connection finishes it when it closes first (SQLite keeps a file open while a statement
    // of it is unfinished).
    std::unique_ptr<SqliteRows> rows;
    Connection* owner = nullptr;
    bool eof = true; // past the last record, or no records at all
    bool closed = false;

    // After a move: a failed forward move leaves us past the end.
    void afterForwardMove(bool moved) { eof = !moved; }
    bool current() const { return !closed && (rows ? rows->hasRow() : query.isValid()); }
    bool forwardOnly() const { return rows || query.isForwardOnly(); }
};

ResultSet::ResultSet(std::unique_ptr<ResultSetPrivate> d) : d(std::move(d)) {}

ResultSet::~ResultSet() = default;

bool ResultSet::eof() const
{
    return d->closed || d->eof;
}

void ResultSet::first()
{
    if (d->closed)
        return;
    if (d->rows)
        return; // the first record is current from the start, and cannot come back
    if (d->query.isForwardOnly()) {
        // A forward-only result can only be "moved" to the first record before reading on.
        if (d->query.at() == QSql::BeforeFirstRow)
            d->afterForwardMove(d->query.next());
        return;
    }
    d->afterForwardMove(d->query.first());
}

void ResultSet::next()
{
    if (d->closed || d->eof)
        return;
    d->afterForwardMove(d->rows ? d->rows->next() : d->query.next());
}

void ResultSet::previous()
{
    if (d->closed || d->forwardOnly())
        return;
    if (d->eof) {
        // From past the end, previous goes back to the last record.
        d->afterForwardMove(d->query.last());
        return;
    }
    d->query.previous(); // before the first record: no current record, not at the end
}

void ResultSet::last()
{
    if (d->closed || d->forwardOnly())
        return; // a forward-only result cannot come back to its last record
    d->afterForwardMove(d->query.last());
}

int ResultSet::columnIndex(const QString& column) const
{
    return d->rows ? d->rows->columnIndex(column) : d->record.indexOf(column);
}

QString ResultSet::field(const QString& column) const
{
    return field(columnIndex(column));
}

QVariant ResultSet::value(const QString& column) const
{
    return value(columnIndex(column));
}

QString ResultSet::field(int column) const
{
    if (d->rows)
        return d->closed ? QString() : d->rows->text(column);
    return value(column).toString();
}

QVariant ResultSet::value(int column) const
{
    if (d->rows)
        return d->closed ? QVariant() : d->rows->value(column);
    if (column < 0 || column >= d->record.count() || !d->current())
        return {};
    return d->query.value(column);
}

void ResultSet::close()
{
    if (d->closed)
        return;
    if (d->rows)
        d->rows->finish();
    d->query.finish();
    d->query = QSqlQuery();
    d->closed = true;
    d->eof = true;
}

namespace {

QString nextConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("morvane-%1").arg(++counter);
}

// A value as it is bound to a statement: a null QString would bind as NULL, and the program
// stores typed text, empty included.
QVariant boundValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QString(u""_qs);
    return value;
}

// The primary result code of an SQLite failure (the low byte of the extended code the driver
// gives); -1 for a failure of the server.
int sqlitePrimaryCode(const QSqlError& error, const Dialect& dialect)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return dialect.backend() == Dialect::Sqlite && ok ? code & 0xff : -1;
}

// SQLITE_BUSY and SQLITE_LOCKED: another connection holds the lock.
bool isBusy(const QSqlError& error, const Dialect& dialect)
{
    const int code = sqlitePrimaryCode(error, dialect);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

// PostgreSQL: an error without a server SQLSTATE comes from the client library finding the
// connection gone; class 08 and the shutdown codes 57P01-57P03 say the same from the server.
bool isConnectionLoss(const QSqlError& error, const Dialect& dialect)
{
    if (dialect.backend() != Dialect::Postgres || error.type() == QSqlError::NoError)
        return false;
    const QString code = error.nativeErrorCode();
    return code.isEmpty() || code.startsWith(QLatin1String("08")) ||
           code.startsWith(QLatin1String("57P0"));
}

// 23505 on PostgreSQL, 2067/1555 (SQLITE_CONSTRAINT_UNIQUE/PRIMARYKEY) on SQLite.
bool isDuplicateKey(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("23505") || code == QLatin1String("2067") ||
           code == QLatin1String("1555");
}

// SQLITE_FULL on SQLite, disk_full (53100) on PostgreSQL: no room left to write.
bool isDiskFull(const QSqlError& error, const Dialect& dialect)
{
    return sqlitePrimaryCode(error, dialect) == SQLITE_FULL ||
           (dialect.backend() == Dialect::Postgres && error.nativeErrorCode() == u"53100"_qs);
}

// SQLITE_READONLY (a file or directory without write permission); PostgreSQL's
// read_only_sql_transaction (a standby server).
bool isReadOnly(const QSqlError& error, const Dialect& dialect)
{
    return sqlitePrimaryCode(error, dialect) == SQLITE_READONLY ||
           (dialect.backend() == Dialect::Postgres && error.nativeErrorCode() == u"25006"_qs);
}

// A 64-bit FNV-1a hash of the key's UTF-8 bytes: the advisory lock number of a key.
qint64 lockNumber(const QString& key)
{
    quint64 hash = 1469598103934665603ULL;
    for (const char byte : key.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 1099511628211ULL;
    }
    return qint64(hash);
}

QString busyText()
{
    return QStringLiteral("数据库正被另一个程序使用，请稍后再试。");
}

QString diskFullText()
{
    return QStringLiteral("数据所在的磁盘已满，请清理出磁盘空间后再试。");
}

QString readOnlyText()
{
    return QStringLiteral("数据库是只读的，无法保存改动。请检查数据文件及其目录的写入权限。");
}

QString unsupportedBackendMessage()
{
    return QStringLiteral("暂不支持该数据库类型");
}

} // namespace

Connection::Connection() : m_name(nextConnectionName()) {}

Connection::~Connection()
{
    close();
}

bool Connection::openSqlite(const QString& path, QString* error)
{
    close();
    m_lastError.clear();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open()) {
            m_lastError = db.lastError().text();
        } else if (!registerSqlFunctions(sqliteHandle())) {
            m_lastError = QStringLiteral("无法在数据库连接上注册函数 mv_int");
            db.close();
        } else {
            m_path = path;
            m_dialect = Dialect(Dialect::Sqlite);
        }
    }
    if (m_path.isEmpty()) {
        QSqlDatabase::removeDatabase(m_name);
        if (error)
            *error = m_lastError;
        return false;
    }
    // Rows are linked by values, not by foreign keys; keep the default rollback journal so
    // that db.mdb stays one self-contained file that a plain copy backs up.
    execute(QStringLiteral("PRAGMA foreign_keys=OFF"));
    return true;
}

bool Connection::openUrl(const QString& url, QString* error)
{
    auto fail = [&](const QString& message) {
        m_lastError = message;
        if (error)
            *error = message;
        return false;
    };
    if (url.startsWith(QLatin1String("sqlite:")))
        return openSqlite(url.mid(7), error);

    if (!url.startsWith(QLatin1String("postgresql://")) &&
        !url.startsWith(QLatin1String("postgres://")))
        return fail(unsupportedBackendMessage());
    const QString driver = QStringLiteral("QPSQL");
    const Dialect dialect(Dialect::Postgres);
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(unsupportedBackendMessage() + QStringLiteral("（缺少驱动 ") + driver +
                    QStringLiteral("）"));

    close();
    bool opened = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
        const QUrl parsed(url);
        db.setHostName(parsed.host());
        if (parsed.port() > 0)
            db.setPort(parsed.port());
        db.setUserName(parsed.userName());
        db.setPassword(parsed.password());
        db.setDatabaseName(parsed.path().mid(1));
        // The URL's parameters (sslmode=require, ...) are options of the connection. Backslashes
        // in literals are plain characters, as the SQL standard has them, whatever the server
        // or the database sets by default: set when the session starts, before the driver
        // learns from the session how to write bound texts into its statements.
        // The stock sums and the list of items stream along their covering indexes, which the
        // server holds in memory; priced as if each index page were a random read from disk,
        // and with parallel workers that cost more to start and merge than they save on these
        // statements, the planner would hash every line instead, two to three times slower.
        const QString options = serverConnectOptions(parsed, &m_lastError);
        db.setConnectOptions(options + QStringLiteral(";options='-c standard_conforming_strings=on "
                                                      "-c random_page_cost=1.1 "
                                                      "-c max_parallel_workers_per_gather=0'"));
        opened = !options.isEmpty() && db.open();
        if (!opened && !options.isEmpty())
            m_lastError = db.lastError().text();
    }
    if (!opened) {
        QSqlDatabase::removeDatabase(m_name);
        return fail(m_lastError);
    }
    m_dialect = dialect;
    m_path.clear();
    m_url = url;
    m_lost = false;
    QString setting;
    if (const auto shown = query(QStringLiteral("SHOW standard_conforming_strings"), true))
        setting = shown->field(0);
    else
        setting = m_lastError;
    if (setting != u"on"_qs) {
        close();
        return fail(
            QStringLiteral("数据库服务器没有接受连接参数 standard_conforming_strings=on（") +
            setting + u'）');
    }
    return true;
}

bool Connection::reconnectIfLost()
{
    if (!m_lost || m_url.isEmpty() || m_unitDepth > 0)
        return true;
    const QString url = m_url;
    QString error;
    if (!openUrl(url, &error)) {
        m_url = url;
        noteError(error, false);
        m_lost = true;
        return false;
    }
    return true;
}

void Connection::close()
{
    for (ResultSetPrivate* reading : std::as_const(m_reading)) {
        reading->rows->finish();
        reading->closed = true;
        reading->eof = true;
        reading->owner = nullptr;
    }
    m_reading.clear();
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_path.clear();
    m_url.clear();
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QString Connection::path() const
{
    return m_path;
}

bool Connection::readyFor(const QString& sql)
{
    if (sql.trimmed().isEmpty()) {
        m_lastError = QStringLiteral("空的语句");
        return false;
    }
    if (!reconnectIfLost())
        return false;
    if (!isOpen()) {
        m_lastError = QStringLiteral("数据库没有打开");
        return false;
    }
    return true;
}

bool Connection::run(QSqlQuery& q, const QString& sql, const QVariantList* values)
{
    const QString statement = m_dialect.translate(sql);
    bool ok = false;
    if (!values) {
        ok = q.exec(statement);
    } else if (q.prepare(statement)) {
        for (const QVariant& value : *values)
            q.addBindValue(boundValue(value));
        ok = q.exec();
    }
    if (!ok) {
        noteError(q.lastError());
        return false;
    }
    noteError(QString(), false);
    return true;
}

std::unique_ptr<ResultSet> Connection::query(const QString& sql, bool forwardOnly)
{
    return query(sql, QVariantList(), forwardOnly);
}

std::unique_ptr<ResultSet> Connection::query(const QString& sql, const QVariantList& values,
                                             bool forwardOnly)
{
    if (!readyFor(sql))
        return nullptr;
    auto d = std::make_unique<ResultSetPrivate>();
    if (forwardOnly) {
        if (sqlite3* handle = sqliteHandle())
            return readSqlite(handle, std::move(d), sql, values);
    }
    d->query = QSqlQuery(QSqlDatabase::database(m_name, false));
    // The PostgreSQL driver reads a forward-only result row by row from the server, which
    // stops at the next statement on the connection; callers read one result while running
    // another, so there the whole result is fetched at once.
    d->query.setForwardOnly(forwardOnly && m_dialect.backend() != Dialect::Postgres);
    if (!run(d->query, sql, values.isEmpty() ? nullptr : &values))
        return nullptr;
    d->record = d->query.record();
    d->closed = false;
    d->eof = !(d->query.isSelect() && d->query.next());
    return std::unique_ptr<ResultSet>(new ResultSet(std::move(d)));
}

std::unique_ptr<ResultSet> Connection::readSqlite(sqlite3* handle,
                                                  std::unique_ptr<ResultSetPrivate> d,
                                                  const QString& sql, const QVariantList& values)
{
    QVariantList bound;
    bound.reserve(values.size());
    for (const QVariant& value : values)
        bound.append(boundValue(value));
    d->rows = std::make_unique<SqliteRows>();
    if (!d->rows->start(handle, m_dialect.translate(sql), bound)) {
        const int code = d->rows->failureCode();
        noteError(QSqlError(d->rows->failureStep(), d->rows->failureText(),
                            QSqlError::StatementError, code ? QString::number(code) : QString()));
        return nullptr;
    }
    noteError(QString(), false);
    d->owner = this;
    m_reading.append(d.get());
    d->closed = false;
    d->eof = !d->rows->hasRow();
    return std::unique_ptr<ResultSet>(new ResultSet(std::move(d)));
}

void Connection::forgetRows(ResultSetPrivate* rows)
{
    m_reading.removeOne(rows);
}

bool Connection::execute(const QString& sql)
{
    return execute(sql, QVariantList());
}

bool Connection::execute(const QString& sql, const QVariantList& values)
{
    if (!readyFor(sql))
        return false;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    m_rowsAffected = -1;
    if (!run(q, sql, values.isEmpty() ? nullptr : &values))
        return false;
    m_rowsAffected = q.numRowsAffected();
    return true;
}

QString Connection::lastErrorForUser() const
{
    if (m_busy)
        return busyText();
    if (m_full)
        return diskFullText();
    if (m_readOnly)
        return readOnlyText();
    if (m_damaged)
        return QStringLiteral("数据库文件已损坏，请用“系统 → 数据恢复”从备份恢复。");
    if (m_ioError)
        return QStringLiteral(
            "读写数据文件时出错，数据所在的磁盘或网络连接可能有故障，请检查后再试。");
    if (m_lost)
        return QStringLiteral("与数据库服务器的连接中断，请稍后再试。");
    return m_lastError;
}

void Connection::noteError(const QString& text, bool busy)
{
    m_lastError = text;
    m_busy = busy;
    m_lost = false;
    m_duplicate = false;
    m_full = false;
    m_readOnly = false;
    m_damaged = false;
    m_ioError = false;
}

void Connection::noteError(const QSqlError& error)
{
    noteError(error.text(), isBusy(error, m_dialect));
    m_lost = isConnectionLoss(error, m_dialect);
    m_duplicate = isDuplicateKey(error);
    m_full = isDiskFull(error, m_dialect);
    m_readOnly = isReadOnly(error, m_dialect);
    const int code = sqlitePrimaryCode(error, m_dialect);
    m_damaged = code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
    m_ioError = code == SQLITE_IOERR;
}

bool Connection::runOnDatabase(bool (QSqlDatabase::*step)())
{
    if (!isOpen())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!(db.*step)()) {
        noteError(db.lastError());
        return false;
    }
    return true;
}

bool Connection::beginUnit()
{
    if (m_unitDepth == 0) {
        if (!begin())
            return false;
        m_unitFailed = false;
    }
    ++m_unitDepth;
    return true;
}

bool Connection::endUnit(bool committed)
{
    if (!committed)
        m_unitFailed = true;
    if (--m_unitDepth > 0)
        return committed;
    if (!m_unitFailed && commit())
        return true;
    const QString error = m_lastError;
    const bool busy = m_busy;
    const bool full = m_full;
    rollback();
    if (!m_unitFailed) {
        noteError(error, busy); // the failed commit is what the caller wants to hear about
        m_full = full;
    }
    return false;
}

bool Connection::begin()
{
    // A deferred transaction that reads first and writes later can be refused the write
    // lock without waiting; taking it at the start lets the busy timeout do its work.
    if (sqliteHandle())
        return execute(QStringLiteral("BEGIN IMMEDIATE"));
    if (!reconnectIfLost())
        return false;
    return runOnDatabase(&QSqlDatabase::transaction);
}

bool Connection::lockKeys(const QStringList& keys)
{
    if (m_dialect.backend() != Dialect::Postgres)
        return true;
    // Taken in one global order (by number) so that two transactions never wait on each other.
    QList<qint64> numbers;
    for (const QString& key : keys)
        numbers.append(lockNumber(key));
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (const qint64 number : numbers)
        if (!execute(u"SELECT pg_advisory_xact_lock("_qs + QString::number(number) + u')'))
            return false;
    return true;
}

bool Connection::commit()
{
    // On SQLite as a statement of its own: the driver's commit drops the database's error
    // code, and with it what tells a full disk or a reader holding the file from any fault.
    if (sqliteHandle())
        return execute(QStringLiteral("COMMIT"));
    return runOnDatabase(&QSqlDatabase::commit);
}

bool Connection::rollback()
{
    return runOnDatabase(&QSqlDatabase::rollback);
}

sqlite3* Connection::sqliteHandle() const
{
    if (!QSqlDatabase::contains(m_name))
        return nullptr;
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.driver() || db.driverName() != QLatin1String("QSQLITE"))
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_active = m_connection.beginUnit();
}

Transaction::~Transaction()
{
    if (m_active)
        m_connection.endUnit(false);
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    return m_connection.endUnit(true);
}

QString sqliteFailureForUser(int code, sqlite3* handle)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return busyText();
    case SQLITE_FULL:
        return diskFullText();
    case SQLITE_READONLY:
        return readOnlyText();
    default:
        return QString::fromUtf8(handle && sqlite3_errcode(handle) == code ? sqlite3_errmsg(handle)
                                                                           : sqlite3_errstr(code));
    }
}

} // namespace mv
