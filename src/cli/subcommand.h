#pragma once
// morvane SUBCOMMAND ...: backup, restore, export, stock, summary and users without a
// window and without a display. The database is the window's (same data directory, same
// choice of database), the user logs in as in the window, and every subcommand calls the
// functions the window calls. Exit codes: 0 done, 1 refused or failed, 2 usage.

#include <QString>
#include <QStringList>
#include <functional>

namespace mv {

struct OpenOptions;

namespace cli {

// How the program finds its data: the start-up rules of the window.
struct SubcommandStart
{
    QString home;     // --home given before the subcommand
    QString database; // --database given before the subcommand
    // The data directory for a --home option (empty: none given).
    std::function<QString(const QString& home)> dataDirectory;
    // The database of this start for a --database option (empty: none given): sets
    // options->serverUrl for a server. False when the program should end.
    std::function<bool(const QString& database, OpenOptions* options)> chooseDatabase;
};

// True for the names of the subcommands and "help".
bool isSubcommand(const QString& name);

// The lines listing the subcommands, for the program's --help.
QString subcommandList();

// Runs the subcommand; arguments start with its name. Returns the exit code.
int runSubcommand(const QStringList& arguments, const SubcommandStart& start);

} // namespace cli
} // namespace mv
