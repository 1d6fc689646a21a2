#pragma once
// The print table's file format (JSON): the built-in report template and the document
// templates are tables saved in it.

#include "print/printtable.h"

#include <QByteArray>
#include <QString>

namespace mv {

// The most a table file may ask for; a file asking for more is damaged and never read (its
// rows and columns would be allocated before anything else is looked at).
inline constexpr int kMaxTableRows = 10000;
inline constexpr int kMaxTableColumns = 200;
inline constexpr int kMaxCellTextBytes = 64 * 1024; // UTF-8
inline constexpr qint64 kMaxTableFileBytes = 32 * 1024 * 1024;

// Reads a table; on failure returns false with a reason and leaves table unchanged.
// tooLarge tells whether the file asked for more than the limits above.
bool loadPrintTable(const QByteArray& bytes, PrintTable& table, QString* error = nullptr,
                    bool* tooLarge = nullptr);
QByteArray savePrintTable(const PrintTable& table);

// The built-in report template: 3 rows and 2 columns.
QByteArray builtInReportTemplate();

} // namespace mv
