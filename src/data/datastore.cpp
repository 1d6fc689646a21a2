#include "data/datastore.h"

#include "data/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

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

// The server and database of a URL as the clerk knows them, without the password.
QString serverShown(const QString& url)
{
    const QUrl parsed(url);
    return parsed.host() + (parsed.port() > 0 ? u':' + QString::number(parsed.port()) : QString()) +
           u'/' + parsed.path().mid(1);
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

// The item columns fold A-Z only, as on SQLite; the server's case-insensitive text folds by
// the database's character classification, which does just that only under "C". So the
// database must be made for it (UTF8 text, character classes "C"); anything else would
// group items differently from the same data in a file. Empty when the database suits.
QString unsuitableServerDatabase(Connection& connection)
{
    const auto settings =
        connection.query(u"SELECT datctype, pg_encoding_to_char(encoding) FROM pg_database "
                         "WHERE datname = current_database()"_qs,
                         true);
    if (!settings || settings->eof())
        return QStringLiteral("无法读取数据库 %1 的设置：%2");
    const QString ctype = settings->field(0);
    if (settings->field(1) == u"UTF8"_qs && (ctype == u"C"_qs || ctype == u"POSIX"_qs))
        return {};
    return QStringLiteral("数据库 %1 的字符设置（编码 ") + settings->field(1) +
           QStringLiteral("，字符分类 ") + ctype +
           QStringLiteral("）不适合本程序，没有在其中建立数据表。请管理员用下面的语句新建数据库："
                          "CREATE DATABASE 名称 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' "
                          "TEMPLATE template0;%2");
}

QString describeServerFailure(const QString& driverMessage)
{
    const QString m = driverMessage;
    const auto has = [&](const char* text) {
        return m.contains(QLatin1String(text), Qt::CaseInsensitive);
    };
    if (has("password authentication failed") || has("no password supplied") ||
        has("authentication failed"))
        return QStringLiteral("用户名或密码不正确，服务器拒绝登录。");
    if (has("does not exist") && has("database"))
        return QStringLiteral("服务器上没有这个数据库，请检查数据库名称，或请管理员先建立数据库。");
    if (has("role") && has("does not exist"))
        return QStringLiteral("服务器上没有这个用户，请检查用户名。");
    if (has("could not connect") || has("connection refused") || has("could not translate host") ||
        has("timeout expired") || has("No route to host") || has("Network is unreachable"))
        return QStringLiteral(
            "无法连接到数据库服务器，请检查服务器地址和端口，以及服务器是否在运行。");
    if (has("缺少驱动"))
        return m;
    return QStringLiteral("无法连接到数据库服务器：") + m;
}

bool openServerDatabase(Connection& connection, const QString& url, const OpenOptions& options,
                        QString* error)
{
    QString reason;
    if (!connection.openUrl(url, &reason))
        return fail(error, describeServerFailure(reason));
    const QString shown = serverShown(url);
    const auto failHere = [&](const QString& what) {
        connection.close();
        return fail(error, what.arg(shown, reason));
    };
    if (!hasProgramTables(connection)) {
        if (const QString refusal = unsuitableServerDatabase(connection); !refusal.isEmpty())
            return failHere(refusal);
        if (!createSchema(connection, &reason) ||
            (options.demoData && !fillDemoData(connection, &reason)))
            return failHere(QStringLiteral("无法在数据库 %1 中建立数据表：%2"));
        return true;
    }
    const int version = schemaVersion(connection);
    if (version == 0)
        return failHere(
            QStringLiteral("数据库 %1 中已有别的数据表，不是本程序的数据库，没有改动它。%2"));
    if (!upgradeSchema(connection, &reason))
        return failHere(version > kSchemaVersion ? QStringLiteral("数据库 %1：%2")
                                                 : QStringLiteral("无法升级数据库 %1：%2"));
    return true;
}

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
        const bool newer = schemaVersion(connection) > kSchemaVersion;
        connection.close();
        return fail(error, (newer ? QStringLiteral("数据库文件 %1：%2")
                                  : QStringLiteral("无法升级数据库文件 %1：%2"))
                               .arg(shownPath, reason));
    }
    return true;
}

} // namespace mv
