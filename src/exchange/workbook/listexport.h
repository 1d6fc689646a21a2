#pragma once
// Exporting a report list to a workbook: the list's rows go straight into the workbook
// writer, which writes the file under a fresh name beside the target and renames it into
// place once whole. Nothing is written anywhere else, so exports of different users or at
// the same time never meet.

#include "common/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace mv {

struct ListExportRequest
{
    QStringList titles;      // column titles, in column order: the header row
    QList<QStringList> rows; // cell texts; a short row has empty cells at its end
    QString sheetName;       // empty: "Sheet1"
    QString outputPath;      // .xlsx writes Office Open XML, anything else Excel 97-2003
};

// The message says why it failed.
struct ListExportOutcome : Outcome<>
{
    int sheets = 0; // rows past a sheet's limit go on in further sheets
};

// Called with the number of rows written so far and the row count.
using ExportProgress = std::function<void(int written, int total)>;

// The chosen file name, with ".xls" added unless it ends in .xls or .xlsx: a name such as
// "库存2026.12.10" or "库存.pdf" would otherwise hold a workbook no program opens as one.
QString workbookFileName(const QString& chosen);

// The name of the n-th sheet (n >= 2) of a list too long for one: "库存(2)", kept within 31
// characters.
QString continuationSheetName(const QString& sheetName, int n);

// Writes the header row and the rows, going on in a further sheet (with the header again)
// when a sheet is full. A failed export leaves the file at outputPath as it was.
ListExportOutcome exportList(const ListExportRequest& request, const ExportProgress& progress = {});

} // namespace mv
