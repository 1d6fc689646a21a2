#include "exchange/backup/databasebackup.h"

#include "exchange/backup/serverdump.h"

#include "common/oledate.h"
#include "common/replacementfile.h"
#include "db/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace mv {

namespace {

// Characters that Windows or POSIX file systems refuse in a file name.
const QString kForbiddenCharacters = QStringLiteral("/\\:*?\"<>|");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Copies the open database into the file at path with the online backup API.
bool copyPages(sqlite3* source, const QString& path, QString* error)
{
    sqlite3* target = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &target,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = copyDatabasePages(target, source);
    if (rc != SQLITE_OK && error)
        *error = sqliteFailureForUser(rc, target);
    sqlite3_close(target);
    return rc == SQLITE_OK;
}

} // namespace

QString backupDirectory(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("datebak"));
}

QString dataDirectoryOf(const Connection& connection)
{
    if (connection.path().isEmpty())
        return connection.homeDirectory();
    return QFileInfo(connection.path()).absolutePath();
}

QString defaultBackupName()
{
    return dateText(clockToday());
}

QString backupNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("备份名称不能为空，请输入一个名称。");
    for (QChar c : name) {
        if (kForbiddenCharacters.contains(c) || c.unicode() < 0x20)
            return QStringLiteral("备份名称“%1”含有不能用于文件名的字符 %2，请换一个名称。")
                .arg(name, c.unicode() < 0x20 ? QStringLiteral("（控制字符）") : QString(c));
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral("备份名称不能以空格或句点结尾，请换一个名称。");
    if (QFile::encodeName(name).size() + int(sizeof(kBackupSuffix)) > 255)
        return QStringLiteral("备份名称太长，请换一个短一些的名称。");
    return {};
}

bool snapshotDatabase(Connection& connection, const QString& path, QString* error)
{
    sqlite3* source = connection.sqliteHandle();
    if (!source) {
        if (error)
            *error = QStringLiteral("当前数据库不是本地数据库文件");
        return false;
    }
    // A fresh name beside the target; the target is replaced only by a complete copy.
    ReplacementFile file(path, ReplacementFile::OwnerOnly);
    QString reason;
    if (!file.create(&reason)) {
        if (error)
            *error = reason;
        return false;
    }
    const QString temporary = file.temporaryPath();
    if (copyPages(source, temporary, &reason) && file.commit(&reason))
        return true;
    QFile::remove(temporary + QStringLiteral("-journal"));
    if (error)
        *error = reason;
    return false;
}

int copyDatabasePages(sqlite3* target, sqlite3* source)
{
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return sqlite3_errcode(target);
    // A step refused by a lock is no error to finish(): the copy is then unfinished.
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    return finished == SQLITE_OK && stepped != SQLITE_DONE ? stepped : finished;
}

QString backupFilePath(const Connection& connection, const QString& name)
{
    const bool server = connection.dialect().backend() == Dialect::Postgres;
    return QDir(backupDirectory(dataDirectoryOf(connection)))
        .filePath(name + QLatin1String(server ? kServerBackupSuffix : kBackupSuffix));
}

BackupOutcome backupDatabase(Connection& connection, const QString& name)
{
    BackupOutcome outcome;
    outcome.title = QStringLiteral("错误");
    outcome.message = backupNameProblem(name);
    if (!outcome.message.isEmpty())
        return outcome;
    const QString directory = backupDirectory(dataDirectoryOf(connection));
    if (!QDir().mkpath(directory)) {
        outcome.message =
            QStringLiteral("无法创建备份目录 %1，数据没有备份。").arg(shown(directory));
        return outcome;
    }
    const bool server = connection.dialect().backend() == Dialect::Postgres;
    const QString path = backupFilePath(connection, name);
    QString reason;
    if (server ? !dumpServerDatabase(connection.url(), path, &reason)
               : !snapshotDatabase(connection, path, &reason)) {
        outcome.message =
            QStringLiteral("备份失败，数据没有备份到 %1：%2").arg(shown(path), reason);
        return outcome;
    }
    outcome.done = true;
    outcome.title = QStringLiteral("提示");
    outcome.code = MsgOkInfo;
    outcome.path = path;
    outcome.message = QStringLiteral("数据已备份到 %1").arg(shown(path));
    return outcome;
}

} // namespace mv
