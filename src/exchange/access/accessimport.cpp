#include "exchange/access/accessimport.h"

#include "common/fileplacement.h"
#include "common/systemerror.h"
#include "db/datastore.h"
#include "exchange/access/accessreaderprocess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace mv {

namespace {

const char kDatabaseFileName[] = "db.mdb";
const char kBuildPattern[] = "db.mdb.importing-";

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool samePath(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

bool present(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Held while an import runs in the directory, so that the recovery at another copy's start
// leaves its half-built file alone. A lock whose program died is taken over.
class ImportLock
{
public:
    explicit ImportLock(const QString& directory)
        : m_lock(QDir(directory).filePath(QStringLiteral("db.mdb.import.lock")))
    {
        m_lock.setStaleLockTime(0); // stale only when its program is gone, however long it runs
    }
    bool tryLock() { return m_lock.tryLock(0); }
    bool heldElsewhere() const { return m_lock.error() == QLockFile::LockFailedError; }

private:
    QLockFile m_lock;
};

void appendToLog(const QString& dataDirectory, const QString& accessFile,
                 const QByteArray& diagnostics)
{
    if (diagnostics.isEmpty())
        return;
    QFile log(importLogPath(dataDirectory));
    if (!log.open(QIODevice::Append))
        return;
    log.write(QStringLiteral("== %1 导入 %2\n")
                  .arg(QDateTime::currentDateTime().toString(Qt::ISODate), shown(accessFile))
                  .toUtf8());
    log.write(diagnostics);
    if (!diagnostics.endsWith('\n'))
        log.write("\n");
}

// Gives the Access file that is db.mdb its kept name, then puts the new database in its place:
// first a second name for the Access file, so that db.mdb is at every moment either the Access
// file or the complete new database. Where the file system has no second names, the Access
// file moves aside just before the new database moves in (a start after a cut between the two
// puts it back). False with *error when nothing was changed.
bool replaceAccessFile(const QString& databasePath, const QString& buildPath, QString* keptPath,
                       QString* error)
{
    Placement kept = Placement::TargetExists;
    for (int attempt = 0; attempt < 10 && kept == Placement::TargetExists; ++attempt) {
        *keptPath = freeAccessName(databasePath);
        kept = addName(databasePath, *keptPath, error);
    }
    if (kept == Placement::Done) {
        if (std::rename(QFile::encodeName(buildPath).constData(),
                        QFile::encodeName(databasePath).constData()) == 0)
            return true;
        *error = systemErrorText(errno);
        QFile::remove(*keptPath);
        return false;
    }
    if (moveIntoPlace(databasePath, *keptPath, error) != Placement::Done)
        return false;
    if (moveIntoPlace(buildPath, databasePath, error) == Placement::Done)
        return true;
    moveIntoPlace(*keptPath, databasePath);
    return false;
}

} // namespace

const QStringList& importedTableNames()
{
    static const QStringList names = {QStringLiteral("user"), QStringLiteral("yclnote"),
                                      QStringLiteral("ycldate"), QStringLiteral("ycl"),
                                      QStringLiteral("date")};
    return names;
}

QString importLogPath(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("import.log"));
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
    if (!fromDatabaseFile && present(databasePath))
        return failed(QStringLiteral("数据目录中已有 %1，导入不会覆盖它").arg(shown(databasePath)));
    if (!QDir().mkpath(directory))
        return failed(QStringLiteral("无法创建数据目录 %1").arg(shown(directory)));
    ImportLock lock(directory);
    if (!lock.tryLock())
        return failed(
            lock.heldElsewhere()
                ? QStringLiteral("另一个程序正在向 %1 导入，请等它完成").arg(shown(directory))
                : QStringLiteral("无法在 %1 中建立新数据库：该目录不可写").arg(shown(directory)));

    // The new file is built under a temporary name beside db.mdb.
    QTemporaryFile build(QDir(directory).filePath(QLatin1String(kBuildPattern) + u"XXXXXX"_qs));
    if (!build.open())
        return failed(QStringLiteral("无法在 %1 中建立新数据库：%2")
                          .arg(shown(directory), build.errorString()));
    build.close();
    const QString buildPath = build.fileName();
    const auto dropJournal = qScopeGuard([&] { QFile::remove(buildPath + u"-journal"_qs); });

    const ReaderBuild built = buildInReaderProcess(originalPath, buildPath, options);
    result.tables = built.tables;
    appendToLog(directory, originalPath, built.diagnostics);
    if (!built.done) {
        QString message = built.message;
        if (!built.diagnostics.isEmpty())
            message += QStringLiteral("\n（Access 读取程序的详细信息记在 %1）")
                           .arg(shown(importLogPath(directory)));
        return failed(message);
    }

    QString reason;
    if (fromDatabaseFile) {
        QString kept;
        if (!replaceAccessFile(databasePath, buildPath, &kept, &reason))
            return failed(
                QStringLiteral("无法把新数据库改名为 %1：%2").arg(shown(databasePath), reason));
        result.accessPath = kept;
    } else {
        const Placement placed = moveIntoPlace(buildPath, databasePath, &reason);
        if (placed == Placement::TargetExists)
            return failed(
                QStringLiteral("数据目录中已有 %1，导入不会覆盖它").arg(shown(databasePath)));
        if (placed != Placement::Done)
            return failed(
                QStringLiteral("无法把新数据库改名为 %1：%2").arg(shown(databasePath), reason));
    }
    build.setAutoRemove(false);
    result.done = true;
    return result;
}

bool recoverStrandedImport(const QString& dataDirectory)
{
    if (!QFileInfo(dataDirectory).isDir())
        return false;
    ImportLock lock(dataDirectory);
    if (!lock.tryLock())
        return false; // an import is running (or nothing can be changed here)
    QDir directory(dataDirectory);
    for (const QString& name : directory.entryList({QLatin1String(kBuildPattern) + u'*'},
                                                   QDir::Files | QDir::Hidden | QDir::System))
        directory.remove(name);
    const QString stranded = strandedAccessFile(dataDirectory);
    return !stranded.isEmpty() &&
           moveIntoPlace(stranded, directory.filePath(QLatin1String(kDatabaseFileName))) ==
               Placement::Done;
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
