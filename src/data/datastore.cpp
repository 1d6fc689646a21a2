#include "data/datastore.h"

#include "data/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace mv {

namespace {

const char kDatabaseFileName[] = "db.mdb";

bool directoryIsWritable(const QString& directory)
{
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return false;
    // Permission bits do not tell the whole story (ACLs, read-only mounts): try it.
    QTemporaryFile probe(QDir(directory).filePath(QStringLiteral("morvane-probe-XXXXXX")));
    return probe.open();
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// True when the SQLite file carries none of the program's tables (an empty database).
bool hasNoTables(Connection& connection)
{
    const auto result = connection.query(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table'"), true);
    return result && !result->eof() && result->value(0).toInt() == 0;
}

bool createNewDatabase(Connection& connection, const QString& path, const OpenOptions& options,
                       QString* error)
{
    QString reason;
    if (!connection.openSqlite(path, &reason))
        return fail(error, QStringLiteral("无法创建数据库文件 %1：%2")
                               .arg(QDir::toNativeSeparators(path), reason));
    if (createSchema(connection, &reason) &&
        (!options.demoData || fillDemoData(connection, &reason)))
        return true;
    // Leave no half-made file behind: the next start tries again from scratch.
    connection.close();
    QFile::remove(path);
    return fail(
        error,
        QStringLiteral("无法创建数据库文件 %1：%2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

DatabaseFileKind probeDatabaseFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return DatabaseFileKind::Missing;
    if (!info.isFile())
        return DatabaseFileKind::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return DatabaseFileKind::Unreadable;
    if (file.size() == 0)
        return DatabaseFileKind::Missing; // an empty file is a database yet to be created
    const QByteArray header = file.read(32);
    if (header.startsWith(QByteArray("SQLite format 3\0", 16)))
        return DatabaseFileKind::Sqlite;
    const QByteArray jetMark = header.mid(4, 15);
    if (jetMark == "Standard Jet DB" || jetMark == "Standard ACE DB")
        return DatabaseFileKind::AccessJet;
    return DatabaseFileKind::Unknown;
}

QString resolveDataDirectory(const QString& homeOption, const QString& programDirectory)
{
    if (!homeOption.isEmpty())
        return QDir::cleanPath(QDir(homeOption).absolutePath());
    const QString environment = qEnvironmentVariable("MORVANE_HOME");
    if (!environment.isEmpty())
        return QDir::cleanPath(QDir(environment).absolutePath());
    if (!programDirectory.isEmpty() &&
        (QFileInfo::exists(QDir(programDirectory).filePath(QLatin1String(kDatabaseFileName))) ||
         directoryIsWritable(programDirectory)))
        return QDir::cleanPath(programDirectory);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool openDataStore(Connection& connection, const QString& dataDirectory, const OpenOptions& options,
                   QString* error)
{
    if (!QDir().mkpath(dataDirectory))
        return fail(error, QStringLiteral("无法创建数据目录 %1，请检查该位置是否可写。")
                               .arg(QDir::toNativeSeparators(dataDirectory)));
    const QString path = QDir(dataDirectory).filePath(QLatin1String(kDatabaseFileName));
    const QString shownPath = QDir::toNativeSeparators(path);

    switch (probeDatabaseFile(path)) {
    case DatabaseFileKind::Missing:
        return createNewDatabase(connection, path, options, error);
    case DatabaseFileKind::AccessJet:
        return fail(
            error,
            QStringLiteral("数据库文件 %1 是 Access 格式，需要先导入才能使用。").arg(shownPath));
    case DatabaseFileKind::Unreadable:
        return fail(error, QStringLiteral("无法读取数据库文件 %1，请检查文件是否存在以及访问权限。")
                               .arg(shownPath));
    case DatabaseFileKind::Unknown:
        return fail(error, QStringLiteral("数据库文件 %1 不是本程序能识别的数据库格式，无法打开。")
                               .arg(shownPath));
    case DatabaseFileKind::Sqlite:
        break;
    }

    QString reason;
    if (!connection.openSqlite(path, &reason))
        return fail(error, QStringLiteral("无法打开数据库文件 %1：%2").arg(shownPath, reason));
    // A damaged file opens but fails its first read: find out now, not at the login list.
    const auto probe = connection.query(QStringLiteral("SELECT count(*) FROM sqlite_master"), true);
    if (!probe) {
        reason = connection.lastError();
        connection.close();
        return fail(error, QStringLiteral("无法打开数据库文件 %1：%2").arg(shownPath, reason));
    }
    probe->close();
    if (hasNoTables(connection)) {
        if (!createSchema(connection, &reason) ||
            (options.demoData && !fillDemoData(connection, &reason))) {
            connection.close();
            return fail(error, QStringLiteral("无法创建数据库文件 %1：%2").arg(shownPath, reason));
        }
        return true;
    }
    if (!upgradeSchema(connection, &reason)) {
        connection.close();
        return fail(error, QStringLiteral("无法升级数据库文件 %1：%2").arg(shownPath, reason));
    }
    return true;
}

} // namespace mv
