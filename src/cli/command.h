#pragma once
// What a subcommand works with once the database is open and the user has logged in, and
// the common ways it reports.

#include "common/outcome.h"

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <optional>

namespace mv {

class Connection;

namespace cli {

enum ExitCode : int
{
    ExitDone = 0,
    ExitRefused = 1,
    ExitUsage = 2,
};

struct Command
{
    const QCommandLineParser& args;
    Connection& connection;
    QString dataDirectory;
    QString user; // logged in
};

// Prints the message on stderr; ExitRefused.
int refuse(const QString& message);
// Prints the message on stderr; ExitUsage.
int usageError(const QString& message);

// Prints the outcome's message (stdout when done, stderr otherwise); its exit code.
template <class Field> int report(const Outcome<Field>& outcome);
int reportMessage(bool done, const QString& message);

template <class Field> int report(const Outcome<Field>& outcome)
{
    return reportMessage(outcome.done, outcome.message);
}

// True when the option (by any of its names) is on the command line; unlike
// QCommandLineParser::isSet it may ask for options the subcommand does not have.
bool given(const QCommandLineParser& args, const QString& name);
// The option's value, empty when it is not given.
QString optionValue(const QCommandLineParser& args, const QString& name);

// A date option as yyyy-MM-dd (also yyyy-M-d and yyyy/M/d); an invalid date when the
// text is none.
QDate parseDateOption(const QString& text);

// The options of the list subcommands checked before the database is opened and the user
// asked for his password: a usage error's exit code, nothing when they are usable.
std::optional<int> checkListUsage(const QCommandLineParser& args);
std::optional<int> checkExportUsage(const QCommandLineParser& args);

int runStock(const Command& command);
int runSummary(const Command& command);
int runExport(const Command& command);
int runBackup(const Command& command);
int runRestore(const Command& command);
int runUsers(const Command& command);

} // namespace cli
} // namespace mv
