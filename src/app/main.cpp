// morvane: the raw-material warehouse of a door, window and curtain-wall workshop.
//
// This program runs the subcommands and the options that only print or import, none of which
// needs a window, with the core libraries only; for the window it hands its command line over
// to morvane-window beside it. So a subcommand run from a script or from cron starts in a
// fraction of the time and needs no display libraries.

#include "app/commandlineimport.h"
#include "app/databasestart.h"
#include "app/options.h"
#include "app/programpaths.h"
#include "cli/subcommand.h"
#include "common/messages.h"
#include "common/translations.h"
#include "db/datastore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <QProcess>
#else
#include <unistd.h>
#endif

namespace {

// --help, --version and --paths only print and --import-mdb imports, so they work without a
// display.
bool runsWithoutDisplay(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "--help-all" ||
            argument == "--version" || argument == "-v" || argument == "--paths" ||
            argument == "--import-mdb" || argument.startsWith("--import-mdb="))
            return true;
    }
    return false;
}

// The position of the subcommand in argv: the first argument that is neither an option nor
// an option's value. 0 when there is none (the window starts); negative when that word names
// no subcommand. A word right after a single-dash option is taken for its value (the
// toolkit's own options such as -platform NAME).
int subcommandIndex(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--home" || argument == "--database" || argument == "--import-mdb" ||
            argument == "--import-charset") {
            ++i; // its value
            continue;
        }
        if (argument.startsWith('-'))
            continue;
        if (mv::cli::isSubcommand(QString::fromLocal8Bit(argument)))
            return i;
        const bool optionValue = argv[i - 1][0] == '-' && argv[i - 1][1] != '-';
        return optionValue ? 0 : -i;
    }
    return 0;
}

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// morvane [options] SUBCOMMAND ...: the options before the subcommand are the program's,
// the rest belong to the subcommand.
int runSubcommand(int at)
{
    const QStringList arguments = QCoreApplication::arguments();
    const mv::ProgramOptions options = mv::parseProgramOptions(arguments.mid(0, at));
    if (!options.ok) {
        printError(options.error);
        return 2;
    }
    if (!options.importFile.isEmpty() || options.showPaths) {
        printError(QStringLiteral("--import-mdb 和 --paths 不能与子命令一起使用。"));
        return 2;
    }
    mv::cli::SubcommandStart start;
    start.home = options.home;
    start.database = options.database;
    start.dataDirectory = &mv::programDataDirectory;
    start.chooseDatabase = [demo = options.demo](const QString& database,
                                                 mv::OpenOptions* openOptions) {
        openOptions->demoData = demo;
        return mv::chooseStartDatabase(database, openOptions);
    };
    return mv::cli::runSubcommand(arguments.mid(at), start);
}

// --help, --version (both print and end the process inside), --paths and --import-mdb.
int runWithoutDisplay()
{
    const mv::ProgramOptions options = mv::parseProgramOptions(QCoreApplication::arguments());
    if (!options.ok) {
        printError(options.error);
        return 2;
    }
    const QString dataDirectory = mv::programDataDirectory(options.home);
    if (options.showPaths) {
        std::fputs(qPrintable(mv::describeProgramPaths(dataDirectory,
                                                       QCoreApplication::applicationDirPath())),
                   stdout);
        return 0;
    }
    return mv::runCommandLineImport(options, dataDirectory);
}

// Replaces this process by the window program with the same command line (on Windows, which
// cannot replace a process, runs it and passes on its exit code).
int runWindow(char* argv[])
{
    const QString window =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("morvane-window"));
    if (!QFileInfo(window).isExecutable()) {
        printError(QStringLiteral("找不到窗口程序 %1（应与本程序在同一目录中），无法打开窗口。")
                       .arg(QDir::toNativeSeparators(window)));
        return 1;
    }
#ifdef Q_OS_WIN
    return QProcess::execute(window, QCoreApplication::arguments().mid(1));
#else
    const QByteArray path = QFile::encodeName(window);
    execv(path.constData(), argv);
    printError(QStringLiteral("无法启动窗口程序 %1：%2")
                   .arg(QDir::toNativeSeparators(window), QString::fromLocal8Bit(strerror(errno))));
    return 1;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    const int at = subcommandIndex(argc, argv);
    if (at < 0) {
        std::fprintf(
            stderr, "%s\n%s",
            qPrintable(QStringLiteral("没有子命令“%1”。").arg(QString::fromLocal8Bit(argv[-at]))),
            qPrintable(mv::cli::subcommandList()));
        return 2;
    }
    QCoreApplication app(argc, argv);
    mv::nameProgram();
    if (at == 0 && !runsWithoutDisplay(argc, argv))
        return runWindow(argv);
    mv::installChineseTranslations(app);
    return at > 0 ? runSubcommand(at) : runWithoutDisplay();
}
