#include "data/listexport.h"

#include "data/connection.h"
#include "data/workbookwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

namespace mv {

namespace {

// Rows between two progress reports.
constexpr int kProgressStep = 512;

QString quotedIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

ListExportOutcome failed(const QString& message)
{
    ListExportOutcome outcome;
    outcome.message = message;
    return outcome;
}

QString sqliteError(sqlite3* handle)
{
    return QString::fromUtf8(sqlite3_errmsg(handle));
}

// A prepared statement, finalized when it goes out of scope.
class Statement
{
public:
    Statement(sqlite3* handle, const QString& sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &m_statement, nullptr) !=
            SQLITE_OK)
            m_statement = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// Copies the rows into table tmp in one transaction; false with the reason in *error.
bool fillTable(Connection& connection, const ListExportRequest& request, const QStringList& columns,
               const ExportProgress& progress, QString* error)
{
    connection.execute(QStringLiteral("drop table tmp")); // there may be none: no matter
    // The scratch database is made anew by every export, so it needs no journal and no
    // flush to disk; UTF-16 storage spares converting every text on the way in and out.
    for (const char* pragma :
         {"PRAGMA encoding = 'UTF-16le'", "PRAGMA journal_mode = OFF", "PRAGMA synchronous = OFF"})
        connection.execute(QString::fromLatin1(pragma));
    QStringList definitions;
    QStringList placeholders;
    for (const QString& column : columns) {
        definitions.append(quotedIdentifier(column) + QStringLiteral(" text"));
        placeholders.append(QStringLiteral("?"));
    }
    if (!connection.execute(QStringLiteral("create table tmp (") +
                            definitions.join(QLatin1Char(',')) + QLatin1Char(')'))) {
        *error = connection.lastError();
        return false;
    }
    sqlite3* handle = connection.sqliteHandle();
    Transaction transaction(connection);
    if (!transaction.active()) {
        *error = connection.lastError();
        return false;
    }
    const Statement insert(handle, QStringLiteral("insert into tmp values (") +
                                       placeholders.join(QLatin1Char(',')) + QLatin1Char(')'));
    if (!insert.get()) {
        *error = sqliteError(handle);
        return false;
    }
    const int total = int(request.rows.size());
    const int columnCount = int(columns.size());
    static const QString missing;
    for (int r = 0; r < total; ++r) {
        // The row's texts outlive the step, so SQLite reads them in place.
        const QStringList& cells = request.rows.at(r);
        for (int c = 0; c < columnCount; ++c) {
            const QString& text = c < cells.size() ? cells.at(c) : missing;
            sqlite3_bind_text16(insert.get(), c + 1, text.utf16(), int(text.size() * 2),
                                SQLITE_STATIC);
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            *error = sqliteError(handle);
            return false;
        }
        sqlite3_reset(insert.get());
        if (progress && ((r + 1) % kProgressStep == 0 || r + 1 == total))
            progress(r + 1, total);
    }
    if (!transaction.commit()) {
        *error = connection.lastError();
        return false;
    }
    return true;
}

// Writes table tmp as the workbook: header row, then the rows in the order they were copied,
// going on in a further sheet (with the header again) when a sheet is full.
bool writeWorkbook(Connection& connection, const ListExportRequest& request, int& sheets,
                   QString* error)
{
    const auto writer = createWorkbookWriter(request.outputPath);
    if (request.titles.size() > writer->maxColumns()) {
        *error = QStringLiteral("列数超过该文件格式 %1 列的上限").arg(writer->maxColumns());
        return false;
    }
    const QString sheetName =
        request.sheetName.isEmpty() ? QStringLiteral("Sheet1") : request.sheetName;
    sqlite3* handle = connection.sqliteHandle();
    const Statement select(handle, QStringLiteral("select * from tmp order by rowid"));
    if (!select.get()) {
        *error = sqliteError(handle);
        return false;
    }
    const auto startSheet = [&] {
        ++sheets;
        const QString name = sheets == 1 ? sheetName : continuationSheetName(sheetName, sheets);
        return writer->beginSheet(name) && writer->addRow(request.titles);
    };
    sheets = 0;
    bool ok = startSheet();
    int rowsInSheet = 1;
    const int columnCount = sqlite3_column_count(select.get());
    QStringList cells;
    int step = SQLITE_ROW;
    while (ok && (step = sqlite3_step(select.get())) == SQLITE_ROW) {
        if (rowsInSheet == writer->maxRows()) {
            ok = startSheet();
            rowsInSheet = 1;
            if (!ok)
                break;
        }
        cells.clear();
        for (int c = 0; c < columnCount; ++c) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(select.get(), c));
            const int bytes = sqlite3_column_bytes16(select.get(), c);
            cells.append(text ? QString::fromUtf16(text, bytes / 2) : QString());
        }
        ok = writer->addRow(cells);
        ++rowsInSheet;
    }
    if (ok && step != SQLITE_DONE) {
        *error = sqliteError(handle);
        return false;
    }
    if (!ok || !writer->finish()) {
        *error = writer->errorString();
        return false;
    }
    return true;
}

} // namespace

QString exportTemporaryDatabasePath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("db.tmp"));
}

QString workbookFileName(const QString& chosen)
{
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QStringLiteral(".xls");
}

QStringList exportColumnNames(const QStringList& titles)
{
    QStringList names;
    QSet<QString> used;
    for (const QString& title : titles) {
        const QString base = title.isEmpty() ? QStringLiteral("列") : title;
        QString name = base;
        for (int n = 2; used.contains(name.toLower()); ++n)
            name = base + QStringLiteral("_%1").arg(n);
        used.insert(name.toLower());
        names.append(name);
    }
    return names;
}

QString continuationSheetName(const QString& sheetName, int n)
{
    const QString suffix = QStringLiteral("(%1)").arg(n);
    return sheetName.left(31 - suffix.size()) + suffix;
}

ListExportOutcome exportList(Connection& connection, const ListExportRequest& request,
                             const ExportProgress& progress)
{
    if (request.outputPath.isEmpty())
        return failed(QStringLiteral("没有指定要保存的文件名。"));
    if (request.titles.isEmpty())
        return failed(QStringLiteral("列表中没有列，无法导出。"));
    const QString problem =
        request.sheetName.isEmpty() ? QString() : sheetNameProblem(request.sheetName);
    if (!problem.isEmpty())
        return failed(problem + QStringLiteral("。"));

    // Every export starts from a new temporary database.
    const QString temporary = request.temporaryDatabase;
    connection.close();
    for (const QString& file : QStringList{temporary, temporary + QStringLiteral("-journal")}) {
        if (QFileInfo::exists(file) && !QFile::remove(file))
            return failed(QStringLiteral("导出失败：无法替换临时数据库 %1。")
                              .arg(QDir::toNativeSeparators(temporary)));
    }
    QString reason;
    if (!connection.openSqlite(temporary, &reason))
        return failed(QStringLiteral("导出失败：无法创建临时数据库 %1（%2）。")
                          .arg(QDir::toNativeSeparators(temporary), reason));

    ListExportOutcome outcome;
    if (!fillTable(connection, request, exportColumnNames(request.titles), progress, &reason)) {
        connection.close();
        return failed(QStringLiteral("导出失败：无法写入临时数据库（%1）。").arg(reason));
    }
    if (!writeWorkbook(connection, request, outcome.sheets, &reason)) {
        connection.close();
        return failed(QStringLiteral("导出失败：%1。").arg(reason));
    }
    connection.close();
    outcome.done = true;
    return outcome;
}

} // namespace mv
