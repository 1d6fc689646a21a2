#pragma once
// The Access reader's own process. A damaged Access file can crash the mdbtools reader or
// make it allocate without end; read in a child process, such a file costs the import, never
// the program. The child builds the new database from the Access file and tells the program
// what it does, one JSON object a line on its standard output:
//   {"progress": [table, rows, total]}   now and then while a table is copied
//   {"table": {"name", "found", "read", "written", "extra"}}   once per program table
//   {"failed": message}   the import failed (the child then exits with 1)
//   {"done": true}        every table was written and committed (exit 0)
// Whatever the reader prints (its diagnostics) goes to the child's standard error, and any
// such diagnostic while a table is read fails that table.

#include "exchange/access/accessimport.h"

#include <QString>
#include <QStringList>

namespace mv {

// The arguments of the child: the options, the Access file and the database to build.
QStringList accessChildArguments(const QString& accessFile, const QString& buildPath,
                                 const AccessImportOptions& options);

// The child's main: builds the database the arguments name; the process exit code.
int runAccessImportChild(const QStringList& arguments);

} // namespace mv
