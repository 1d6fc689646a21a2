#pragma once
// The print table's file format (JSON): the built-in report template and the document
// templates are tables saved in it.

#include "print/printtable.h"

#include <QByteArray>
#include <QString>

namespace mv {

// Reads a table; on failure returns false with a reason and leaves table unchanged.
bool loadPrintTable(const QByteArray& bytes, PrintTable& table, QString* error = nullptr);
QByteArray savePrintTable(const PrintTable& table);
// Writes through QSaveFile: the file is complete or left as it was.
bool savePrintTableFile(const PrintTable& table, const QString& path, QString* error = nullptr);

// The built-in report template: 3 rows and 2 columns.
QByteArray builtInReportTemplate();

} // namespace mv
