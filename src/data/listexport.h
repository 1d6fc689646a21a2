#pragma once
// Exporting a report list to a workbook: the list's texts are copied into table tmp of a
// throw-away SQLite database (db.tmp in the temporary directory, replaced by every export and
// left in place), inside one transaction, and the workbook is then written from that table in
// one step. The export connection is the caller's (ExportWindow's), never the main one.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace mv {

class Connection;

struct ListExportRequest
{
    QStringList titles;      // column titles, in column order: the header row
    QList<QStringList> rows; // cell texts; a short row has empty cells at its end
    QString sheetName;       // empty: "Sheet1"
    QString outputPath;      // .xlsx writes Office Open XML, anything else Excel 97-2003
    QString temporaryDatabase;
};

struct ListExportOutcome
{
    bool done = false;
    QString message; // why it failed, for the user
    int sheets = 0;  // rows past a sheet's limit go on in further sheets
};

// Called with the number of rows copied so far and the row count.
using ExportProgress = std::function<void(int written, int total)>;

// db.tmp directly in the system's temporary directory.
QString exportTemporaryDatabasePath();

// The chosen file name, with ".xls" added when it has no suffix at all.
QString workbookFileName(const QString& chosen);

// Column names for table tmp: the titles, made unique (SQLite compares them without case)
// and never empty, by adding "_2", "_3", ...
QStringList exportColumnNames(const QStringList& titles);

// The name of the n-th sheet (n >= 2) of a list too long for one: "库存(2)", kept within 31
// characters.
QString continuationSheetName(const QString& sheetName, int n);

ListExportOutcome exportList(Connection& exportConnection, const ListExportRequest& request,
                             const ExportProgress& progress = {});

} // namespace mv
