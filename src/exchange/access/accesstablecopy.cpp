#include "exchange/access/accesstablecopy.h"

#include "db/connection.h"
#include "exchange/access/accessfile.h"
#include "exchange/access/accessvalue.h"

#include <sqlite3.h>

#include <QList>

namespace mv {

namespace {

QString quotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

struct TargetColumn
{
    QString name;
    ColumnAffinity affinity = ColumnAffinity::Any;
};

QList<TargetColumn> targetColumns(Connection& target, const QString& table)
{
    QList<TargetColumn> columns;
    const auto info = target.query(u"PRAGMA table_info("_qs + quotedName(table) + u')', true);
    for (; info && !info->eof(); info->next())
        columns.append({info->field(QStringLiteral("name")),
                        affinityOfDeclaredType(info->field(QStringLiteral("type")))});
    return columns;
}

bool createTargetTable(Connection& target, const QString& table, const AccessTable& source)
{
    QStringList definitions;
    for (const AccessColumn& column : source.columns())
        definitions.append(quotedName(column.name) + QLatin1Char(' ') +
                           declaredTypeFor(column.kind));
    return target.execute(u"CREATE TABLE "_qs + quotedName(table) + u" ("_qs +
                          definitions.join(QLatin1String(", ")) + u')');
}

// A prepared statement, finalised when it goes out of scope.
struct Statement
{
    ~Statement() { sqlite3_finalize(handle); }
    sqlite3_stmt* handle = nullptr;
};

int bindValue(sqlite3_stmt* statement, int position, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, position);
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, position, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, position, bytes.constData(), bytes.size(),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, position, utf8.constData(), utf8.size(),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

} // namespace

TableCopy copyAccessTable(AccessTable& source, Connection& target, const QString& targetTable,
                          const CopyProgress& progress)
{
    TableCopy copy;
    sqlite3* db = target.sqliteHandle();
    if (!db) {
        copy.error = QStringLiteral("目标数据库没有打开");
        return copy;
    }
    QList<TargetColumn> columns = targetColumns(target, targetTable);
    if (columns.isEmpty()) {
        if (!createTargetTable(target, targetTable, source)) {
            copy.error =
                QStringLiteral("无法建立表 %1：%2").arg(targetTable, target.lastErrorForUser());
            return copy;
        }
        columns = targetColumns(target, targetTable);
    }

    // Pair the columns by name; both sides keep their own spelling in the reports.
    QList<int> sourceIndex;       // per copied column: its index in the Access row
    QList<TargetColumn> copiedTo; // per copied column: the target column
    QList<bool> targetMatched(columns.size(), false);
    const QList<AccessColumn>& sourceColumns = source.columns();
    for (int i = 0; i < sourceColumns.size(); ++i) {
        int match = -1;
        for (int j = 0; j < columns.size() && match < 0; ++j)
            if (!targetMatched[j] &&
                columns[j].name.compare(sourceColumns[i].name, Qt::CaseInsensitive) == 0)
                match = j;
        if (match < 0) {
            copy.extraColumns.append(sourceColumns[i].name);
            continue;
        }
        targetMatched[match] = true;
        sourceIndex.append(i);
        copiedTo.append(columns[match]);
    }
    for (int j = 0; j < columns.size(); ++j)
        if (!targetMatched[j])
            copy.missingColumns.append(columns[j].name);

    QStringList names;
    QStringList placeholders;
    for (const TargetColumn& column : copiedTo) {
        names.append(quotedName(column.name));
        placeholders.append(QStringLiteral("?"));
    }
    QString sql = u"INSERT INTO "_qs + quotedName(targetTable);
    if (names.isEmpty())
        sql += u" DEFAULT VALUES"_qs;
    else
        sql += u" ("_qs + names.join(QLatin1String(", ")) + u") VALUES ("_qs +
               placeholders.join(QLatin1String(", ")) + u')';
    Statement insert;
    const QByteArray sqlUtf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, sqlUtf8.constData(), int(sqlUtf8.size()), &insert.handle, nullptr) !=
        SQLITE_OK) {
        copy.error = QStringLiteral("无法写入表 %1：%2")
                         .arg(targetTable, QString::fromUtf8(sqlite3_errmsg(db)));
        return copy;
    }

    QVariant converted;
    QString reason;
    while (source.next()) {
        ++copy.rowsRead;
        for (int k = 0; k < sourceIndex.size(); ++k) {
            const AccessValue value = source.value(sourceIndex[k]);
            if (!source.error().isEmpty()) {
                copy.error = source.error();
                return copy;
            }
            if (!convertAccessValue(value, copiedTo[k].affinity, &converted, &reason)) {
                copy.error = QStringLiteral("表 %1 第 %2 行的列 %3 无法转换：%4")
                                 .arg(source.name())
                                 .arg(copy.rowsRead)
                                 .arg(sourceColumns[sourceIndex[k]].name, reason);
                return copy;
            }
            // The reader cannot tell an empty text from a missing one: a text column gets the
            // empty text, as the program stores an empty cell. Lines of an item without a
            // model thus keep counting for it (a missing model would count for none).
            if (converted.isNull() && sourceColumns[sourceIndex[k]].kind == AccessValue::Text &&
                copiedTo[k].affinity == ColumnAffinity::Text)
                converted = u""_qs;
            if (bindValue(insert.handle, k + 1, converted) != SQLITE_OK) {
                copy.error = QStringLiteral("表 %1 第 %2 行无法写入：%3")
                                 .arg(source.name())
                                 .arg(copy.rowsRead)
                                 .arg(QString::fromUtf8(sqlite3_errmsg(db)));
                return copy;
            }
        }
        if (sqlite3_step(insert.handle) != SQLITE_DONE) {
            copy.error = QStringLiteral("表 %1 第 %2 行无法写入：%3")
                             .arg(source.name())
                             .arg(copy.rowsRead)
                             .arg(QString::fromUtf8(sqlite3_errmsg(db)));
            return copy;
        }
        copy.rowsWritten += sqlite3_changes(db);
        sqlite3_reset(insert.handle);
        if (progress && copy.rowsRead % 256 == 0)
            progress(copy.rowsRead);
    }
    if (!source.error().isEmpty())
        copy.error = source.error();
    if (progress)
        progress(copy.rowsRead);
    return copy;
}

} // namespace mv
