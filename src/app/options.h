#pragma once
// Command-line options of the program.

#include <QString>
#include <QStringList>

namespace mv {

struct ProgramOptions
{
    QString home;       // --home DIR (or MORVANE_HOME): the data directory
    QString database;   // --database URL: a PostgreSQL server instead of the file
    bool demo = false;  // --demo: fill a newly created database with demo data
    QString importFile; // --import-mdb FILE: import it and exit
    QString importCharset = QStringLiteral("GBK"); // --import-charset: code page of Jet 3 texts
    bool showPaths = false; // --paths: print the data directory and the form templates, exit
    bool ok = true;         // false when the command line was wrong
    QString error;
};

// Parses the arguments (argv[0] first). --help and --version print and exit the process.
ProgramOptions parseProgramOptions(const QStringList& arguments);

} // namespace mv
