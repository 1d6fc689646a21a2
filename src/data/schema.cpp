#include "data/connection.h"
#include "data/datastore.h"

#include <QStringList>

namespace mv {

namespace {

// Every value the program reads is text, except the numeric keys; yclnote.日期 holds ISO
// yyyy-MM-dd text so that comparisons and BETWEEN work on it.
const QStringList& tableStatements()
{
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS [user] (编号 INTEGER PRIMARY KEY, 用户 TEXT, "
                       "密码 TEXT, ycl审核 TEXT, 数据操作 TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS [ycldate] (单号 TEXT, 出入 TEXT, 审核 TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS [yclnote] (单据号 TEXT, 正负 TEXT, 日期 TEXT, "
                       "分类 TEXT, 原材料名字 TEXT, 型号 TEXT, 单位 TEXT, 数量 TEXT, 单价 TEXT, "
                       "供应单位 TEXT, 制单人 TEXT, 备注 TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS [ycl] (编号 INTEGER PRIMARY KEY, 库存分类 TEXT, "
                       "原材料名字 TEXT, 规格 TEXT, 单位 TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS [date] (x TEXT, y TEXT)"),
    };
    return statements;
}

// The indexes the stock views and the document pages rely on; the two covering ones let
// the balance and period aggregates run from the index alone.
const QStringList& indexStatements()
{
    static const QStringList statements = {
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_item ON yclnote (原材料名字, 型号)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_document ON yclnote (单据号, 正负)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_balance "
                       "ON yclnote (原材料名字, 型号, 正负, 数量)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_period "
                       "ON yclnote (原材料名字, 型号, 正负, 日期, 数量)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_yclnote_list "
                       "ON yclnote (分类, 原材料名字, 单位, 型号)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_ycldate_document ON ycldate (单号, 出入)"),
    };
    return statements;
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
    return runAll(connection, {QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)},
                  error);
}

bool failWith(Connection& connection, QString* error)
{
    if (error)
        *error = connection.lastError();
    return false;
}

// Adds every missing table and index, then the first account when asked, and stores the
// schema version; all in one transaction.
bool applySchema(Connection& connection, bool withFirstAccount, QString* error)
{
    Transaction transaction(connection);
    if (!transaction.active())
        return failWith(connection, error);
    if (!runAll(connection, tableStatements(), error) ||
        !runAll(connection, indexStatements(), error) || !setVersion(connection, error))
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
    return applySchema(connection, true, error);
}

int schemaVersion(Connection& connection)
{
    const auto result = connection.query(QStringLiteral("PRAGMA user_version"), true);
    if (!result || result->eof())
        return 0;
    return result->value(0).toInt();
}

bool upgradeSchema(Connection& connection, QString* error)
{
    if (schemaVersion(connection) >= kSchemaVersion)
        return true;
    // Tables that an older file lacks are added empty; existing ones are left as they are.
    return applySchema(connection, false, error);
}

} // namespace mv
