#pragma once
// Where the program keeps its data and finds its form templates.

#include <QString>

namespace mv {

// The program's directory as a candidate data directory (see resolveDataDirectory), or empty
// for an installed program: one in <prefix>/bin with <prefix>/share/morvane beside it. That
// directory belongs to the package manager and every user shares it, even when the one
// running the program (root) may write there.
QString portableProgramDirectory(const QString& programDirectory);

// The data directory of this run: --home DIR, MORVANE_HOME, the program's own directory when
// it is not installed, else the per-user data directory (see resolveDataDirectory).
QString programDataDirectory(const QString& home);
// Names the program (name, organisation, version) for settings, data paths and --version.
void nameProgram();
// What --paths prints: the data directory and the file each form template is read from.
QString describeProgramPaths(const QString& dataDirectory, const QString& programDirectory);

} // namespace mv
