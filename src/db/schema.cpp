#include "db/changecounter.h"
#include "db/connection.h"
#include "db/datastore.h"

#include <QList>
#include <QStringList>
#include <utility>

namespace mv {

namespace {

struct TableDefinition
{
    QString name;
    QString columns;
};

// Every value the program reads is text, except the numeric keys; yclnote.日期 holds ISO
// yyyy-MM-dd text so that comparisons and BETWEEN work on it. The item columns (category,
// name, model, unit) compare without regard to Latin letter case, so "ZS-01" and "zs-01"
// are one item in every lookup, grouping and index; user names and passwords stay exact.
const QList<TableDefinition>& tables()
{
    static const QList<TableDefinition> definitions = {
        {QStringLiteral("user"), QStringLiteral("编号 INTEGER PRIMARY KEY, 用户 TEXT, 密码 TEXT, "
                                                "ycl审核 TEXT, 数据操作 TEXT")},
        {QStringLiteral("ycldate"), QStringLiteral("单号 TEXT, 出入 TEXT, 审核 TEXT")},
        {QStringLiteral("yclnote"),
         QStringLiteral("单据号 TEXT, 正负 TEXT, 日期 TEXT, 分类 TEXT COLLATE NOCASE, "
                        "原材料名字 TEXT COLLATE NOCASE, 型号 TEXT COLLATE NOCASE, "
                        "单位 TEXT COLLATE NOCASE, 数量 TEXT, 单价 TEXT, 供应单位 TEXT, "
                        "制单人 TEXT, 备注 TEXT")},
        {QStringLiteral("ycl"),
         QStringLiteral("编号 INTEGER PRIMARY KEY, 库存分类 TEXT COLLATE NOCASE, "
                        "原材料名字 TEXT COLLATE NOCASE, 规格 TEXT COLLATE NOCASE, "
                        "单位 TEXT COLLATE NOCASE")},
        {QStringLiteral("date"), QStringLiteral("x TEXT, y TEXT")},
    };
    return definitions;
}

// The tables whose columns changed collation in version 3.
const QStringList& tablesWithItemColumns()
{
    static const QStringList names = {QStringLiteral("yclnote"), QStringLiteral("ycl")};
    return names;
}

// The item columns as PostgreSQL declares them: plain text under the "C" collation. The
// statements compare, group and order them by Dialect::itemKey(), which folds only A-Z as
// SQLite's NOCASE does, whatever the database's locale.
const QString kServerItemColumn = u"text COLLATE \"C\""_qs;

// PostgreSQL's yclnote keeps the integer reading of each line's quantity (mv_int, see
// Dialect::lineQuantity) in a column the server fills on every insert and update, so that the
// stock sums read integers from an index instead of reading each quantity's text again.
const QString kServerQuantityColumn =
    u"数量值 integer GENERATED ALWAYS AS (mv_int(数量)) STORED"_qs;

// The columns as the backend declares them. Tables without a key get a serial rowid on
// PostgreSQL, the stored order SQLite keeps by itself.
QString columnsFor(const Dialect& dialect, const TableDefinition& table)
{
    if (dialect.backend() != Dialect::Postgres)
        return table.columns;
    QString columns = table.columns;
    columns.replace(u"TEXT COLLATE NOCASE"_qs, kServerItemColumn);
    if (!columns.contains(u"PRIMARY KEY"_qs))
        columns += u", rowid BIGSERIAL"_qs;
    if (table.name == u"yclnote"_qs)
        columns += u", "_qs + kServerQuantityColumn;
    return columns;
}

QStringList tableStatements(const Dialect& dialect)
{
    QStringList statements;
    for (const TableDefinition& table : tables())
        statements.append(u"CREATE TABLE IF NOT EXISTS ["_qs + table.name + u"] ("_qs +
                          columnsFor(dialect, table) + u')');
    return statements;
}

// PostgreSQL only, before the tables: the table that keeps the schema version, and mv_int(), the
// program's integer reading of a quantity (blanks, a sign, digits, after folding the full-width
// forms; clamped to int; 0 for NULL and for text without digits). Plain digit strings take the
// quick cast.
const QStringList& serverPreamble()
{
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS morvane_schema (version INTEGER NOT NULL)"),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION mv_int(value text) RETURNS integer "
            "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $f$ "
            "SELECT CASE WHEN value ~ '^[0-9]{1,9}$' THEN value::integer "
            "ELSE least(greatest(coalesce((substring(translate(value, "
            "'０１２３４５６７８９＋－　', '0123456789+- ') "
            "FROM '^[ \t\n\v\f\r]*([+-]?[0-9]+)'))::numeric, 0), -2147483648), 2147483647)"
            "::integer END $f$"),
    };
    return statements;
}

// PostgreSQL only: one header per number and direction (several clerks save at once there;
// SQLite lets one writer in at a time, and older files may already hold such pairs), and the
// lookup of an item's lines by its key (the expressions of Dialect::itemKey()).
const QStringList& serverConstraints()
{
    static const QStringList statements = {
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS uq_ycldate_document "
                       "ON ycldate (单号, 出入)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_item_key ON yclnote "
                       "(lower(原材料名字 COLLATE \"C\"), lower(型号 COLLATE \"C\"), 正负)"),
    };
    return statements;
}

// The indexes the stock views and the document pages rely on; the covering ones let the
// balance and period aggregates and the list of items run from the index alone. On the server
// the period index holds the stored integer quantities the sums read, and the list index the
// rowid by which the list orders several spellings of one item.
QStringList indexStatements(const Dialect& dialect)
{
    const bool server = dialect.backend() == Dialect::Postgres;
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_item ON yclnote (原材料名字, 型号)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_document ON yclnote (单据号, 正负)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_balance "
                       "ON yclnote (原材料名字, 型号, 正负, 数量)"),
        u"CREATE INDEX IF NOT EXISTS idx_yclnote_period ON yclnote (原材料名字, 型号, 正负, 日期, "_qs +
            (server ? u"数量值)"_qs : u"数量)"_qs),
        u"CREATE INDEX IF NOT EXISTS idx_yclnote_list ON yclnote (分类, 原材料名字, 单位, 型号)"_qs +
            (server ? u" INCLUDE (rowid)"_qs : QString()),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_ycldate_document ON ycldate (单号, 出入)"),
    };
}

bool runAll(Connection& connection, const QStringList& statements, QString* error)
{
    for (const QString& sql : statements) {
        if (!connection.execute(sql)) {
            if (error)
                *error = connection.lastError();
            return false;
        }
    }
    return true;
}

bool setVersion(Connection& connection, QString* error)
{
    if (connection.dialect().backend() == Dialect::Postgres)
        return runAll(connection,
                      {QStringLiteral("DELETE FROM morvane_schema"),
                       QStringLiteral("INSERT INTO morvane_schema (version) VALUES (%1)")
                           .arg(kSchemaVersion)},
                      error);
    return runAll(connection, {QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)},
                  error);
}

bool failWith(Connection& connection, QString* error)
{
    if (error)
        *error = connection.lastError();
    return false;
}

// (name, declared type) of every column of a table; empty when the table does not exist.
QList<std::pair<QString, QString>> columnsOf(Connection& connection, const QString& table)
{
    QList<std::pair<QString, QString>> columns;
    const auto info = connection.query(u"PRAGMA table_info(["_qs + table + u"])"_qs, true);
    for (; info && !info->eof(); info->next())
        columns.append({info->field(u"name"_qs), info->field(u"type"_qs)});
    return columns;
}

// SQLite cannot change a column's collation in place: the rows are copied into a table with
// the current definition, row ids included (so the stored order stays), and the new table
// takes the old one's place. Columns the old table has beyond the definition come along with
// their declared type. The indexes go with the old table; the caller creates them again.
bool rebuildTable(Connection& connection, const TableDefinition& table, QString* error)
{
    const auto oldColumns = columnsOf(connection, table.name);
    if (oldColumns.isEmpty())
        return true;
    const QString rebuilt = table.name + u"_rebuilt"_qs;
    if (!runAll(connection,
                {u"DROP TABLE IF EXISTS ["_qs + rebuilt + u']',
                 u"CREATE TABLE ["_qs + rebuilt + u"] ("_qs + table.columns + u')'},
                error))
        return false;
    QStringList known;
    for (const auto& column : columnsOf(connection, rebuilt))
        known.append(column.first);
    QStringList copied;
    QStringList statements;
    for (const auto& [name, type] : oldColumns) {
        copied.append(u'[' + name + u']');
        if (!known.contains(name))
            statements.append(u"ALTER TABLE ["_qs + rebuilt + u"] ADD COLUMN ["_qs + name +
                              u"] "_qs + type);
    }
    const QString list = copied.join(u", "_qs);
    statements << u"INSERT INTO ["_qs + rebuilt + u"] (rowid, "_qs + list + u") SELECT rowid, "_qs +
                      list + u" FROM ["_qs + table.name + u']'
               << u"DROP TABLE ["_qs + table.name + u']'
               << u"ALTER TABLE ["_qs + rebuilt + u"] RENAME TO ["_qs + table.name + u']';
    return runAll(connection, statements, error);
}

// PostgreSQL databases of version 4 lack the stored integer quantities: the column is added
// (the server computes it for every row there) and the period and list indexes are dropped,
// for the caller to build them again with the columns they now cover.
bool addServerQuantityColumn(Connection& connection, int fromVersion, QString* error)
{
    if (fromVersion >= 5)
        return true;
    return runAll(
        connection,
        {u"ALTER TABLE IF EXISTS yclnote ADD COLUMN IF NOT EXISTS "_qs + kServerQuantityColumn,
         QStringLiteral("DROP INDEX IF EXISTS idx_yclnote_period"),
         QStringLiteral("DROP INDEX IF EXISTS idx_yclnote_list")},
        error);
}

// PostgreSQL databases of version 3 declared the item columns with the citext type, which
// folds letters by the database's locale. They become text under the "C" collation, the
// rows and the indexes kept (the server rebuilds them); only columns of that type change.
bool carryOverCitextColumns(Connection& connection, int fromVersion, QString* error)
{
    if (fromVersion >= 4)
        return true;
    for (const QString& table : tablesWithItemColumns()) {
        const auto citext = connection.query(
            u"SELECT column_name FROM information_schema.columns WHERE table_schema = "
            "current_schema() AND table_name = ? AND udt_name = 'citext' ORDER BY ordinal_position"_qs,
            {table}, true);
        if (!citext)
            return failWith(connection, error);
        QStringList changes;
        for (; !citext->eof(); citext->next())
            changes.append(u"ALTER COLUMN \""_qs + citext->field(0) + u"\" TYPE "_qs +
                           kServerItemColumn);
        citext->close();
        if (!changes.isEmpty() &&
            !connection.execute(u"ALTER TABLE \""_qs + table + u"\" "_qs + changes.join(u", "_qs)))
            return failWith(connection, error);
    }
    return true;
}

bool upgradeServerTables(Connection& connection, int fromVersion, QString* error)
{
    return carryOverCitextColumns(connection, fromVersion, error) &&
           addServerQuantityColumn(connection, fromVersion, error);
}

// Brings the tables of an older version to the current definitions, keeping every row.
bool upgradeTables(Connection& connection, int fromVersion, QString* error)
{
    if (fromVersion >= 3)
        return true;
    for (const TableDefinition& table : tables())
        if (tablesWithItemColumns().contains(table.name) && !rebuildTable(connection, table, error))
            return false;
    return true;
}

// Brings tables of an older version over, adds every missing table and index, then the
// first account when asked, and stores the schema version; all in one transaction.
bool applySchema(Connection& connection, int fromVersion, bool withFirstAccount, QString* error)
{
    Transaction transaction(connection);
    if (!transaction.active())
        return failWith(connection, error);
    const Dialect& dialect = connection.dialect();
    const bool server = dialect.backend() == Dialect::Postgres;
    if ((server && !runAll(connection, serverPreamble(), error)) ||
        (server && !upgradeServerTables(connection, fromVersion, error)) ||
        (!server && !upgradeTables(connection, fromVersion, error)) ||
        !runAll(connection, tableStatements(dialect), error) ||
        !runAll(connection, {changeCounterTableStatement()}, error) ||
        !runAll(connection, indexStatements(dialect), error) ||
        (server && !runAll(connection, serverConstraints(), error)) ||
        !setVersion(connection, error))
        return false;
    const QString firstAccount =
        QStringLiteral("INSERT INTO [user] (编号, 用户, 密码, ycl审核, 数据操作) "
                       "VALUES (1, 'admin', 'admin', '是', '是')");
    if (withFirstAccount && !connection.execute(firstAccount))
        return failWith(connection, error);
    if (!transaction.commit())
        return failWith(connection, error);
    return true;
}

} // namespace

bool createSchema(Connection& connection, QString* error)
{
    return applySchema(connection, kSchemaVersion, true, error);
}

int schemaVersion(Connection& connection)
{
    if (connection.dialect().backend() == Dialect::Postgres) {
        if (!hasProgramTables(connection))
            return 0;
        const auto result =
            connection.query(QStringLiteral("SELECT max(version) FROM morvane_schema"), true);
        return result && !result->eof() ? result->value(0).toInt() : 0;
    }
    const auto result = connection.query(QStringLiteral("PRAGMA user_version"), true);
    if (!result || result->eof())
        return 0;
    return result->value(0).toInt();
}

bool hasProgramTables(Connection& connection)
{
    const QString sql =
        connection.dialect().backend() == Dialect::Postgres
            ? u"SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()"_qs
            : u"SELECT count(*) FROM sqlite_master WHERE type='table'"_qs;
    const auto result = connection.query(sql, true);
    return result && !result->eof() && result->value(0).toInt() > 0;
}

QString newerSchemaMessage(int version)
{
    return QStringLiteral(
               "数据库的结构版本为 %1，比本程序能处理的版本 %2 新，请使用新版本的程序打开。"
               "数据库没有被改动。")
        .arg(version)
        .arg(kSchemaVersion);
}

bool upgradeSchema(Connection& connection, QString* error)
{
    const int version = schemaVersion(connection);
    if (version > kSchemaVersion) {
        // A newer program's database: reading or writing it could lose what that version keeps.
        if (error)
            *error = newerSchemaMessage(version);
        return false;
    }
    if (version == kSchemaVersion) {
        ensureChangeCounter(connection); // added after this version was fixed
        return true;
    }
    // Tables that an older file lacks are added empty; existing ones keep all their rows.
    return applySchema(connection, version, false, error);
}

} // namespace mv
