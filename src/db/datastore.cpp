#include "db/datastore.h"

#include "common/fileplacement.h"
#include "db/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace mv {

namespace {

const char kDatabaseFileName[] = "db.mdb";

// A file or a link (even a dangling one) takes the name.
bool present(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

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

// The plain reading of a data directory where nothing can be created.
QString unwritableDirectoryMessage(const QString& directory)
{
    return QStringLiteral("数据目录 %1 不可写，无法在其中建立数据库。\n请修改该目录的权限，或用 "
                          "--home 选项（或环境变量 MORVANE_HOME）指定一个可写的目录。")
        .arg(QDir::toNativeSeparators(directory));
}

// A full disk or a lock said in Chinese; any other failure in the words it came with.
QString reasonForUser(const Connection& connection, const QString& reason)
{
    return connection.lastErrorWasDiskFull() || connection.lastErrorWasBusy()
               ? connection.lastErrorForUser()
               : reason;
}

// Builds a new database under a temporary name and moves it to path, never over a file that
// is there: when two copies start at once on an empty directory, the first one's database
// stays and the other one's is dropped; neither works in a file the other removes. True when
// path now holds a database (this one's or another copy's).
bool createNewDatabase(const QString& directory, const QString& path, const OpenOptions& options,
                       QString* error)
{
    QTemporaryFile file(QDir(directory).filePath(QStringLiteral("db.mdb.new-XXXXXX")));
    if (!file.open())
        return fail(error, unwritableDirectoryMessage(directory));
    file.close();
    const QString building = file.fileName();
    const auto dropJournal = qScopeGuard([&] { QFile::remove(building + u"-journal"_qs); });
    Connection builder;
    QString reason;
    if (!builder.openSqlite(building, &reason) || !createSchema(builder, &reason) ||
        (options.demoData && !fillDemoData(builder, &reason)))
        return fail(error,
                    QStringLiteral("无法创建数据库文件 %1：%2")
                        .arg(QDir::toNativeSeparators(path), reasonForUser(builder, reason)));
    builder.close();
    switch (moveIntoPlace(building, path, &reason)) {
    case Placement::Done:
        file.setAutoRemove(false);
        return true;
    case Placement::TargetExists:
        return true; // another copy was first: its database is the one
    case Placement::Failed:
        break;
    }
    return fail(
        error,
        QStringLiteral("无法创建数据库文件 %1：%2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

// The texts are Chinese: the database must keep them as UTF8. Its locale plays no part (the
// item columns fold A-Z by an expression of their own), so any UTF8 database suits, whatever
// createdb gave it. Empty when the database suits.
QString unsuitableServerDatabase(Connection& connection)
{
    const auto settings = connection.query(
        u"SELECT pg_encoding_to_char(encoding) FROM pg_database WHERE datname = current_database()"_qs,
        true);
    if (!settings || settings->eof())
        return QStringLiteral("无法读取数据库 %1 的设置：%2");
    if (settings->field(0) == u"UTF8"_qs)
        return {};
    return QStringLiteral("数据库 %1 的编码是 ") + settings->field(0) +
           QStringLiteral("，不是 UTF8，无法保存中文，没有在其中建立数据表。请管理员用下面的语句"
                          "新建数据库：CREATE DATABASE 名称 ENCODING 'UTF8' TEMPLATE template0;%2");
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
    // Something answered at the address, but not a database server: a web server or another
    // program on the port typed.
    if (has("invalid response to SSL negotiation") || has("expected authentication request") ||
        has("invalid message format") || has("unexpected message type"))
        return QStringLiteral("该服务器地址和端口上回应的不是 PostgreSQL 数据库服务器，"
                              "请检查服务器地址和端口。");
    if (has("no pg_hba.conf entry"))
        return QStringLiteral("数据库服务器不允许这台电脑连接，请管理员在服务器的 pg_hba.conf "
                              "中允许这台电脑。");
    if (has("too many clients") || has("connection slots are reserved"))
        return QStringLiteral("数据库服务器的连接数已满，请稍后再试，或请管理员增加服务器允许的"
                              "连接数。");
    if (has("the database system is starting up") || has("the database system is shutting down") ||
        has("the database system is in recovery mode"))
        return QStringLiteral("数据库服务器正在启动或关闭，请稍后再试。");
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
    // A build directory is no home for data: a clean rebuild deletes it.
    if (!programDirectory.isEmpty() &&
        !QFileInfo::exists(QDir(programDirectory).filePath(QStringLiteral("CMakeCache.txt"))) &&
        (QFileInfo::exists(QDir(programDirectory).filePath(QLatin1String(kDatabaseFileName))) ||
         directoryIsWritable(programDirectory)))
        return QDir::cleanPath(programDirectory);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool openDataStore(Connection& connection, const QString& dataDirectory, const OpenOptions& options,
                   QString* error)
{
    const QString shownDirectory = QDir::toNativeSeparators(dataDirectory);
    if (QFileInfo(dataDirectory).exists() && !QFileInfo(dataDirectory).isDir())
        return fail(error, QStringLiteral("数据目录 %1 是一个文件，不是目录。\n请用 --home 选项"
                                          "（或环境变量 MORVANE_HOME）指定一个目录。")
                               .arg(shownDirectory));
    if (!QDir().mkpath(dataDirectory))
        return fail(error, QStringLiteral("无法建立数据目录 %1。\n请检查它的上级目录是否可写，或用 "
                                          "--home 选项（或环境变量 MORVANE_HOME）指定别的目录。")
                               .arg(shownDirectory));
    const QString path = QDir(dataDirectory).filePath(QLatin1String(kDatabaseFileName));
    const QString shownPath = QDir::toNativeSeparators(path);

    DatabaseFileKind kind = probeDatabaseFile(path);
    // An empty file is a database yet to be created: it gets its tables in place below.
    if (kind == DatabaseFileKind::Missing && !QFileInfo::exists(path)) {
        if (const QString stranded = strandedAccessFile(dataDirectory); !stranded.isEmpty())
            return fail(
                error, QStringLiteral("数据目录中没有 db.mdb，但有一个上次没有导入完的 Access 文件 "
                                      "%1，所以没有新建空数据库。\n请把它改名为 db.mdb 后重新启动"
                                      "程序，再次导入。")
                           .arg(QDir::toNativeSeparators(stranded)));
        if (!createNewDatabase(dataDirectory, path, options, error))
            return false;
        kind = probeDatabaseFile(path);
    }

    switch (kind) {
    case DatabaseFileKind::Missing:
    case DatabaseFileKind::Sqlite:
        break;
    case DatabaseFileKind::AccessJet:
        return fail(
            error,
            QStringLiteral("数据库文件 %1 是 Access 格式，需要先导入才能使用。").arg(shownPath));
    case DatabaseFileKind::Unreadable:
        return fail(error,
                    QFileInfo(path).isDir()
                        ? QStringLiteral("%1 是一个目录，不是数据库文件。\n请把它移走或改名。")
                              .arg(shownPath)
                        : QStringLiteral("无法读取数据库文件 %1：没有读取权限。\n请让当前用户可以"
                                         "读写这个文件。")
                              .arg(shownPath));
    case DatabaseFileKind::Unknown:
        return fail(error, QStringLiteral("数据库文件 %1 不是本程序能识别的数据库格式，无法打开。\n"
                                          "请把它移走，或换上本程序的数据库文件或其备份。")
                               .arg(shownPath));
    }

    QString reason;
    if (!connection.openSqlite(path, &reason))
        return fail(error, QStringLiteral("无法打开数据库文件 %1：%2\n请检查该文件及数据目录的访问"
                                          "权限。")
                               .arg(shownPath, reason));
    // A damaged file opens but fails its first read: find out now, not at the login list.
    const auto probe = connection.query(QStringLiteral("SELECT count(*) FROM sqlite_master"), true);
    if (!probe) {
        reason = connection.lastError();
        const QString busy =
            connection.lastErrorWasBusy() ? connection.lastErrorForUser() : QString();
        connection.close();
        if (!busy.isEmpty())
            return fail(error, QStringLiteral("无法读取数据库文件 %1：%2").arg(shownPath, busy));
        if (!reason.contains(u"not a database"_qs) && !reason.contains(u"malformed"_qs))
            return fail(error,
                        QStringLiteral("无法读取数据库文件 %1（%2）。\n请稍后再试；仍然不行时"
                                       "请检查该文件的访问权限。")
                            .arg(shownPath, reason));
        return fail(error, QStringLiteral("数据库文件 %1 已损坏，无法打开。\n请用备份替换它：数据"
                                          "目录下 datebak 中的 .mdbbak 文件是数据库的副本，可以复制"
                                          "为 db.mdb。")
                               .arg(shownPath));
    }
    probe->close();
    if (hasNoTables(connection)) {
        if (!createSchema(connection, &reason) ||
            (options.demoData && !fillDemoData(connection, &reason))) {
            reason = reasonForUser(connection, reason);
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

QString freeAccessName(const QString& databasePath)
{
    const QString base = databasePath + QStringLiteral(".access");
    QString candidate = base;
    for (int n = 1; present(candidate); ++n)
        candidate = base + QLatin1Char('.') + QString::number(n);
    return candidate;
}

QString strandedAccessFile(const QString& dataDirectory)
{
    const QDir directory(dataDirectory);
    if (present(directory.filePath(QLatin1String(kDatabaseFileName))))
        return {};
    // The most recently kept one: renaming sets a file's status change time.
    const QFileInfoList kept =
        directory.entryInfoList({u"db.mdb.access"_qs, u"db.mdb.access.*"_qs}, QDir::Files);
    QFileInfo latest;
    for (const QFileInfo& file : kept)
        if (!latest.exists() || file.metadataChangeTime() > latest.metadataChangeTime())
            latest = file;
    return latest.exists() ? latest.filePath() : QString();
}

} // namespace mv
