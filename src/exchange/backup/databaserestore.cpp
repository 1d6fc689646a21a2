#include "exchange/backup/databaserestore.h"

#include "common/oledate.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "exchange/backup/databasebackup.h"
#include "users/accounts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace mv {

namespace {

const QStringList kProgramTables = {QStringLiteral("user"), QStringLiteral("ycldate"),
                                    QStringLiteral("yclnote"), QStringLiteral("ycl"),
                                    QStringLiteral("date")};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Opens a private copy of the backup on connection and checks it, bringing an older schema
// up to date; returns the reason when it cannot be restored.
QString openCheckedCopy(const QString& backupPath, const QString& copyPath, Connection& connection)
{
    if (!QFileInfo(backupPath).isFile())
        return QStringLiteral("找不到备份文件 %1。").arg(shown(backupPath));
    if (!QFile::copy(backupPath, copyPath))
        return QStringLiteral("无法读取备份文件 %1。").arg(shown(backupPath));
    QFile::setPermissions(copyPath, QFile::ReadOwner | QFile::WriteOwner);
    if (probeDatabaseFile(copyPath) != DatabaseFileKind::Sqlite)
        return QStringLiteral("文件 %1 不是本程序的数据库备份。").arg(shown(backupPath));
    QString reason;
    if (!connection.openSqlite(copyPath, &reason))
        return QStringLiteral("无法打开备份文件 %1：%2").arg(shown(backupPath), reason);
    const auto check = connection.query(QStringLiteral("PRAGMA quick_check"), true);
    if (!check || check->eof() || check->field(0) != QLatin1String("ok"))
        return QStringLiteral("备份文件 %1 已损坏。").arg(shown(backupPath));
    check->close();

    QSet<QString> tables;
    const auto names = connection.query(
        QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type='table'"), true);
    for (; names && !names->eof(); names->next())
        tables.insert(names->field(0));
    for (const QString& table : kProgramTables)
        if (!tables.contains(table))
            return QStringLiteral("备份文件 %1 缺少数据表 %2，不是本程序的数据库备份。")
                .arg(shown(backupPath), table);

    const int version = schemaVersion(connection);
    if (version > kSchemaVersion)
        return QStringLiteral("备份文件 %1 来自更新版本的程序（数据库版本 %2），本程序无法使用。")
            .arg(shown(backupPath))
            .arg(version);
    if (!upgradeSchema(connection, &reason))
        return QStringLiteral("备份文件 %1 无法升级到当前数据库版本：%2")
            .arg(shown(backupPath), reason);
    return {};
}

// The name of the backup taken before a restore, unused so far.
QString safetyCopyPath(const QString& directory)
{
    const QString base = QStringLiteral("恢复前-") + dateText(clockNow());
    QString path = QDir(directory).filePath(base + QLatin1String(kBackupSuffix));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(directory).filePath(base + QStringLiteral("-%1").arg(n) +
                                        QLatin1String(kBackupSuffix));
    return path;
}

// Replaces the content of the open database by the source's, in one transaction.
bool copyInto(Connection& target, Connection& source, QString* error)
{
    sqlite3* handle = target.sqliteHandle();
    const int rc = copyDatabasePages(handle, source.sqliteHandle());
    if (rc != SQLITE_OK) {
        *error = sqliteFailureForUser(rc, handle);
        return false;
    }
    return true;
}

} // namespace

QList<BackupEntry> listBackups(const QString& dataDirectory)
{
    QList<BackupEntry> entries;
    const QDir directory(backupDirectory(dataDirectory));
    // Hidden files too: a backup whose name begins with "." is one like any other.
    const QFileInfoList files =
        directory.entryInfoList({QStringLiteral("*") + QLatin1String(kBackupSuffix)},
                                QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName().chopped(qsizetype(sizeof(kBackupSuffix) - 1));
        entries.append({name, file.absoluteFilePath(), file.lastModified()});
    }
    return entries;
}

QString checkBackupFile(const QString& path)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return QStringLiteral("无法创建临时目录。");
    Connection copy;
    return openCheckedCopy(path, scratch.filePath(QStringLiteral("check.db")), copy);
}

RestoreOutcome restoreDatabase(Connection& connection, const QString& backupPath,
                               const QString& user)
{
    RestoreOutcome outcome;
    if (!isAdministrator(connection, user)) {
        outcome.title = QStringLiteral("提示");
        outcome.message = QStringLiteral("只有系统管理员可以恢复数据。");
        return outcome;
    }
    outcome.title = QStringLiteral("错误");
    const QString unchanged = QStringLiteral("当前数据没有任何改动。");
    QTemporaryDir scratch;
    if (!connection.sqliteHandle() || !scratch.isValid()) {
        outcome.message = QStringLiteral("无法恢复：当前数据库不是本地数据库文件。");
        return outcome;
    }
    Connection copy;
    const QString problem =
        openCheckedCopy(backupPath, scratch.filePath(QStringLiteral("restore.db")), copy);
    if (!problem.isEmpty()) {
        outcome.message = problem + unchanged;
        return outcome;
    }

    const QString directory = backupDirectory(dataDirectoryOf(connection));
    const QString safety = safetyCopyPath(directory);
    QString reason;
    if (!QDir().mkpath(directory) || !snapshotDatabase(connection, safety, &reason)) {
        outcome.message =
            QStringLiteral("无法先备份当前数据到 %1%2，恢复已取消。")
                .arg(shown(safety), reason.isEmpty() ? QString() : u"："_qs + reason) +
            unchanged;
        return outcome;
    }
    outcome.safetyCopy = safety;
    if (!copyInto(connection, copy, &reason)) {
        outcome.message = QStringLiteral("恢复失败，当前数据没有任何改动：%1").arg(reason);
        return outcome;
    }
    outcome.done = true;
    outcome.title = QStringLiteral("提示");
    outcome.code = MsgOkInfo;
    outcome.message = QStringLiteral("数据已从备份“%1”恢复。恢复前的数据已备份为 %2。")
                          .arg(QFileInfo(backupPath).completeBaseName(), shown(safety));
    return outcome;
}

} // namespace mv
