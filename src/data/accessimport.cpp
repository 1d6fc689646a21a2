#include "data/accessimport.h"

#include "data/accessfile.h"
#include "data/accesstablecopy.h"
#include "data/connection.h"
#include "data/datastore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace mv {

namespace {

const char kDatabaseFileName[] = "db.mdb";

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool samePath(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

// The Access table for a program table: an explicit choice, else the same name in any case.
QString sourceTableFor(const QString& table, const QStringList& accessTables,
                       const AccessImportOptions& options)
{
    const QString wanted = options.sourceTables.value(table, table);
    for (const QString& name : accessTables)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return QString();
}

// Builds the new database at buildPath from the open Access file. False with *error set.
bool buildDatabase(AccessFile& access, const QString& buildPath, const AccessImportOptions& options,
                   QList<ImportedTable>* tables, QString* error)
{
    Connection target;
    QString reason;
    if (!target.openSqlite(buildPath, &reason) || !createSchema(target, &reason)) {
        *error = QStringLiteral("无法建立新数据库 %1：%2").arg(shown(buildPath), reason);
        return false;
    }
    Transaction transaction(target);
    if (!transaction.active()) {
        *error = QStringLiteral("无法写入新数据库：%1").arg(target.lastError());
        return false;
    }
    const QStringList accessTables = access.tableNames();
    for (const QString& table : importedTableNames()) {
        ImportedTable imported;
        imported.name = table;
        const QString sourceName = sourceTableFor(table, accessTables, options);
        imported.found = !sourceName.isEmpty();
        if (!imported.found) {
            tables->append(imported);
            continue;
        }
        const auto source = access.openTable(sourceName, &reason);
        if (!source) {
            *error = reason;
            return false;
        }
        // The accounts come from the file: the first account of a new database only stays
        // when the file has none, so that somebody can still log in.
        if (table == QLatin1String("user") && source->declaredRows() > 0 &&
            !target.execute(QStringLiteral("DELETE FROM [user]"))) {
            *error = target.lastError();
            return false;
        }
        const qint64 total = source->declaredRows();
        if (options.progress)
            options.progress(table, 0, total);
        const TableCopy copy = copyAccessTable(*source, target, table, [&](qint64 rows) {
            if (options.progress)
                options.progress(table, rows, total);
        });
        imported.rowsRead = copy.rowsRead;
        imported.rowsWritten = copy.rowsWritten;
        imported.extraColumns = copy.extraColumns;
        tables->append(imported);
        if (!copy.ok()) {
            *error = copy.error;
            return false;
        }
        if (copy.rowsRead != copy.rowsWritten) {
            *error = QStringLiteral("表 %1 读取 %2 行，只写入 %3 行")
                         .arg(table)
                         .arg(copy.rowsRead)
                         .arg(copy.rowsWritten);
            return false;
        }
    }
    if (!transaction.commit()) {
        *error = QStringLiteral("无法写入新数据库：%1").arg(target.lastError());
        return false;
    }
    target.close();
    return true;
}

} // namespace

const QStringList& importedTableNames()
{
    static const QStringList names = {QStringLiteral("user"), QStringLiteral("yclnote"),
                                      QStringLiteral("ycldate"), QStringLiteral("ycl"),
                                      QStringLiteral("date")};
    return names;
}

QString freeAccessName(const QString& databasePath)
{
    const QString base = databasePath + QStringLiteral(".access");
    QString candidate = base;
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + QLatin1Char('.') + QString::number(n);
    return candidate;
}

AccessImport importAccessFile(const QString& accessFile, const QString& dataDirectory,
                              const AccessImportOptions& options)
{
    AccessImport result;
    const QString directory = QDir::cleanPath(QDir(dataDirectory).absolutePath());
    const QString databasePath = QDir(directory).filePath(QLatin1String(kDatabaseFileName));
    const QString originalPath = QFileInfo(accessFile).absoluteFilePath();
    result.databasePath = databasePath;
    result.accessPath = originalPath;
    auto failed = [&](const QString& what) {
        result.message = what;
        return result;
    };

    if (!QFileInfo(originalPath).isFile())
        return failed(QStringLiteral("找不到 Access 文件 %1").arg(shown(originalPath)));
    const bool fromDatabaseFile = samePath(originalPath, databasePath);
    if (!fromDatabaseFile && QFileInfo::exists(databasePath))
        return failed(QStringLiteral("数据目录中已有 %1，导入不会覆盖它").arg(shown(databasePath)));
    if (!QDir().mkpath(directory))
        return failed(QStringLiteral("无法创建数据目录 %1").arg(shown(directory)));

    // The new file is built under a temporary name beside db.mdb.
    QTemporaryFile build(QDir(directory).filePath(QStringLiteral("db.mdb.importing-XXXXXX")));
    if (!build.open())
        return failed(QStringLiteral("无法在 %1 中建立新数据库：%2")
                          .arg(shown(directory), build.errorString()));
    build.close();
    const QString buildPath = build.fileName();

    // db.mdb itself moves aside first, so that nothing can ever write over it.
    if (fromDatabaseFile) {
        result.accessPath = freeAccessName(databasePath);
        QFile original(databasePath);
        if (!original.rename(result.accessPath)) {
            const QString reason = original.errorString();
            result.accessPath = originalPath;
            return failed(
                QStringLiteral("无法把 %1 改名为 %2：%3")
                    .arg(shown(databasePath), shown(freeAccessName(databasePath)), reason));
        }
    }
    auto undo = [&](const QString& what) {
        QFile::remove(buildPath + QStringLiteral("-journal"));
        if (fromDatabaseFile && QFile::rename(result.accessPath, databasePath))
            result.accessPath = databasePath;
        return failed(what);
    };

    AccessFile access;
    QString reason;
    if (!access.open(result.accessPath, options.jet3Charset, &reason))
        return undo(reason);
    if (!buildDatabase(access, buildPath, options, &result.tables, &reason))
        return undo(reason);
    if (!QFile::rename(buildPath, databasePath))
        return undo(QStringLiteral("无法把新数据库改名为 %1").arg(shown(databasePath)));
    build.setAutoRemove(false);
    result.done = true;
    return result;
}

QString importSummaryText(const AccessImport& import)
{
    QStringList lines;
    lines.append(import.done ? QStringLiteral("导入完成：%1").arg(shown(import.databasePath))
                             : QStringLiteral("导入失败：%1").arg(import.message));
    QStringList missing;
    QStringList extra;
    bool accountsImported = false;
    for (const ImportedTable& table : import.tables) {
        if (!table.found) {
            missing.append(table.name);
            continue;
        }
        lines.append(QStringLiteral("表 %1：读取 %2 行，写入 %3 行")
                         .arg(table.name)
                         .arg(table.rowsRead)
                         .arg(table.rowsWritten));
        for (const QString& column : table.extraColumns)
            extra.append(table.name + QLatin1Char('.') + column);
        if (table.name == QLatin1String("user") && table.rowsWritten > 0)
            accountsImported = true;
    }
    if (!missing.isEmpty())
        lines.append(
            QStringLiteral("Access 文件中没有的表：%1").arg(missing.join(QStringLiteral("、"))));
    if (!extra.isEmpty())
        lines.append(QStringLiteral("未导入的列：%1").arg(extra.join(QStringLiteral("、"))));
    if (import.done && !accountsImported)
        lines.append(
            QStringLiteral("Access 文件中没有账户：请用初始账户 admin（密码 admin）登录。"));
    lines.append(import.done
                     ? QStringLiteral("原 Access 文件保留为：%1").arg(shown(import.accessPath))
                     : QStringLiteral("Access 文件未作任何改动：%1").arg(shown(import.accessPath)));
    return lines.join(QLatin1Char('\n'));
}

} // namespace mv
