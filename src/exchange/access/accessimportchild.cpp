#include "exchange/access/accessimportchild.h"

#include "db/connection.h"
#include "db/datastore.h"
#include "exchange/access/accessfile.h"
#include "exchange/access/accesstablecopy.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mv {

namespace {

// Far more than any Access file (2 GB at most, read page by page) needs; a damaged file that
// makes the reader allocate without end fails here instead of exhausting the machine.
const rlim_t kMemoryLimit = rlim_t(3) << 30;

int g_protocol = -1;    // the program reads this (the child's standard output at start)
int g_diagnostics = -1; // where the reader's output lands (read back after each step)
int g_log = -1;         // the child's standard error at start: the program's log
off_t g_diagnosticsSeen = 0;

void writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

void send(const QJsonObject& message)
{
    writeAll(g_protocol, QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
}

// Qt's own warnings are no reader diagnostics: straight to the log.
void logQtMessage(QtMsgType, const QMessageLogContext&, const QString& text)
{
    writeAll(g_log, text.toUtf8() + '\n');
}

// The reader prints to the standard streams; both now lead into a file read back after each
// step, so that anything it reported can fail the step that caused it.
bool captureReaderOutput()
{
    g_protocol = ::dup(STDOUT_FILENO);
    g_log = ::dup(STDERR_FILENO);
    std::FILE* capture = std::tmpfile();
    if (g_protocol < 0 || g_log < 0 || !capture)
        return false;
    g_diagnostics = ::dup(::fileno(capture));
    std::fflush(stdout);
    std::fflush(stderr);
    return g_diagnostics >= 0 && ::dup2(g_diagnostics, STDOUT_FILENO) >= 0 &&
           ::dup2(g_diagnostics, STDERR_FILENO) >= 0;
}

// Whether the reader printed anything since the last call (passed on to the log): the way
// it reports pages it could not read.
bool readerComplained()
{
    std::fflush(stdout);
    std::fflush(stderr);
    struct stat status = {};
    if (::fstat(g_diagnostics, &status) != 0 || status.st_size <= g_diagnosticsSeen)
        return false;
    QByteArray text(qsizetype(status.st_size - g_diagnosticsSeen), '\0');
    const ssize_t n = ::pread(g_diagnostics, text.data(), size_t(text.size()), g_diagnosticsSeen);
    writeAll(g_log, text.left(qMax<qsizetype>(0, n)));
    g_diagnosticsSeen = status.st_size;
    return true;
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

void sendTable(const ImportedTable& table)
{
    send({{u"table"_qs,
           QJsonObject{{u"name"_qs, table.name},
                       {u"found"_qs, table.found},
                       {u"read"_qs, table.rowsRead},
                       {u"written"_qs, table.rowsWritten},
                       {u"extra"_qs, QJsonArray::fromStringList(table.extraColumns)}}}});
}

// Copies one program table; false with *error naming the table when it fails.
bool copyTable(AccessFile& access, Connection& target, const QString& table,
               const QString& sourceName, ImportedTable* imported, QString* error)
{
    QString reason;
    const auto source = access.openTable(sourceName, &reason);
    if (readerComplained() || !source) {
        *error = QStringLiteral("无法读取表 %1 的定义，文件可能已损坏").arg(sourceName);
        return false;
    }
    // The accounts come from the file: the first account of a new database only stays when
    // the file has none, so that somebody can still log in.
    if (table == QLatin1String("user") && source->declaredRows() > 0 &&
        !target.execute(QStringLiteral("DELETE FROM [user]"))) {
        *error = target.lastErrorForUser();
        return false;
    }
    const qint64 total = source->declaredRows();
    const auto progress = [&](qint64 rows) {
        send({{u"progress"_qs, QJsonArray{table, rows, total}}});
    };
    progress(0);
    const TableCopy copy = copyAccessTable(*source, target, table, progress);
    imported->rowsRead = copy.rowsRead;
    imported->rowsWritten = copy.rowsWritten;
    imported->extraColumns = copy.extraColumns;
    if (readerComplained()) {
        *error = QStringLiteral("读取表 %1 时出错，文件可能已损坏").arg(sourceName);
        return false;
    }
    if (!copy.ok()) {
        *error = copy.error;
        return false;
    }
    if (copy.rowsRead != copy.rowsWritten) {
        *error = QStringLiteral("表 %1 读取 %2 行，只写入 %3 行")
                     .arg(sourceName)
                     .arg(copy.rowsRead)
                     .arg(copy.rowsWritten);
        return false;
    }
    return true;
}

// Builds the new database at buildPath from the Access file. False with *error set.
bool buildDatabase(const QString& accessPath, const QString& buildPath,
                   const AccessImportOptions& options, QString* error)
{
    AccessFile access;
    QString reason;
    const bool opened = access.open(accessPath, options.jet3Charset, &reason);
    if (readerComplained()) {
        *error = QStringLiteral("无法读取 Access 文件的表目录，文件可能已损坏");
        return false;
    }
    if (!opened) {
        *error = reason;
        return false;
    }
    Connection target;
    if (!target.openSqlite(buildPath, &reason) || !createSchema(target, &reason)) {
        *error = QStringLiteral("无法建立新数据库 %1：%2")
                     .arg(QDir::toNativeSeparators(buildPath), reason);
        return false;
    }
    Transaction transaction(target);
    if (!transaction.active()) {
        *error = QStringLiteral("无法写入新数据库：%1").arg(target.lastErrorForUser());
        return false;
    }
    const QStringList accessTables = access.tableNames();
    for (const QString& table : importedTableNames()) {
        ImportedTable imported;
        imported.name = table;
        const QString sourceName = sourceTableFor(table, accessTables, options);
        imported.found = !sourceName.isEmpty();
        const bool copied =
            !imported.found || copyTable(access, target, table, sourceName, &imported, error);
        sendTable(imported);
        if (!copied)
            return false;
    }
    if (!transaction.commit()) {
        *error = QStringLiteral("无法写入新数据库：%1").arg(target.lastErrorForUser());
        return false;
    }
    target.close();
    return true;
}

} // namespace

QStringList accessChildArguments(const QString& accessFile, const QString& buildPath,
                                 const AccessImportOptions& options)
{
    QStringList arguments{u"--charset"_qs, options.jet3Charset};
    for (auto it = options.sourceTables.cbegin(); it != options.sourceTables.cend(); ++it)
        arguments << u"--source"_qs << it.key() + u'=' + it.value();
    arguments << accessFile << buildPath;
    return arguments;
}

int runAccessImportChild(const QStringList& arguments)
{
    const struct rlimit limit = {kMemoryLimit, kMemoryLimit};
    ::setrlimit(RLIMIT_AS, &limit);
    if (!captureReaderOutput()) {
        std::fprintf(stderr, "cannot redirect the reader's output\n");
        return 2;
    }
    qInstallMessageHandler(logQtMessage);

    AccessImportOptions options;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        if (arguments[i] == u"--charset"_qs && hasValue) {
            options.jet3Charset = arguments[++i];
        } else if (arguments[i] == u"--source"_qs && hasValue) {
            const QString pair = arguments[++i];
            options.sourceTables.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        } else {
            files.append(arguments[i]);
        }
    }
    if (files.size() != 2) {
        send({{u"failed"_qs, u"Access 读取程序的参数不对"_qs}});
        return 2;
    }
    QString error;
    if (!buildDatabase(files[0], files[1], options, &error)) {
        send({{u"failed"_qs, error}});
        return 1;
    }
    send({{u"done"_qs, true}});
    return 0;
}

} // namespace mv
