#pragma once
// morvane --import-mdb FILE [--home DIR] [--import-charset NAME]: the import without a window.

#include <QString>

namespace mv {

struct ProgramOptions;

// Imports options.importFile into the data directory's new db.mdb and prints the summary.
// Returns the process exit code: 0 only when every row of every table was written.
int runCommandLineImport(const ProgramOptions& options, const QString& dataDirectory);

} // namespace mv
