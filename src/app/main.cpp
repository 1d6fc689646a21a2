// Morvane: the raw-material warehouse of a door, window and curtain-wall workshop.

#include "app/commandlineimport.h"
#include "app/databasestart.h"
#include "app/options.h"
#include "app/programpaths.h"
#include "cli/subcommand.h"
#include "common/messages.h"
#include "db/datastore.h"
#include "gui/data/accessimportstart.h"
#include "gui/main/appearance.h"
#include "gui/users/loginwindow.h"
#include "widgets/automationids.h"
#include "widgets/widgetmessageresponder.h"

#include <QApplication>
#include <cstdio>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
}

// The data directory; an installed program keeps none in its own directory.
QString dataDirectoryOf(const mv::ProgramOptions& options)
{
    return mv::resolveDataDirectory(
        options.home, mv::portableProgramDirectory(QCoreApplication::applicationDirPath()));
}

// --help, --version and --paths only print and --import-mdb imports, so they work without a
// display. (Other options are read once the application exists, because it takes its own options
// such as -platform out first.)
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

// morvane [options] SUBCOMMAND ...: the options before the subcommand are the program's,
// the rest belong to the subcommand. No window, no display.
int runSubcommand(int argc, char* argv[], int at)
{
    QCoreApplication app(argc, argv);
    nameApplication();
    mv::installChineseTexts(app);
    const QStringList arguments = QCoreApplication::arguments();
    const mv::ProgramOptions options = mv::parseProgramOptions(arguments.mid(0, at));
    if (!options.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }
    if (!options.importFile.isEmpty() || options.showPaths) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("--import-mdb 和 --paths 不能与子命令一起使用。")));
        return 2;
    }
    mv::cli::SubcommandStart start;
    start.home = options.home;
    start.database = options.database;
    start.dataDirectory = [](const QString& home) {
        return mv::resolveDataDirectory(
            home, mv::portableProgramDirectory(QCoreApplication::applicationDirPath()));
    };
    start.chooseDatabase = [demo = options.demo](const QString& database,
                                                 mv::OpenOptions* openOptions) {
        openOptions->demoData = demo;
        return mv::chooseStartDatabase(database, openOptions);
    };
    return mv::cli::runSubcommand(arguments.mid(at), start);
}

} // namespace

int main(int argc, char* argv[])
{
    const int at = subcommandIndex(argc, argv);
    if (at > 0)
        return runSubcommand(argc, argv, at);
    if (at < 0) {
        std::fprintf(
            stderr, "%s\n%s",
            qPrintable(QStringLiteral("没有子命令“%1”。").arg(QString::fromLocal8Bit(argv[-at]))),
            qPrintable(mv::cli::subcommandList()));
        return 2;
    }
    if (runsWithoutDisplay(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        mv::installChineseTexts(app);
        // --help and --version print and end the process inside.
        const mv::ProgramOptions options = mv::parseProgramOptions(QCoreApplication::arguments());
        if (!options.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(options.error));
            return 2;
        }
        if (options.showPaths) {
            std::fputs(qPrintable(mv::describeProgramPaths(dataDirectoryOf(options),
                                                           QCoreApplication::applicationDirPath())),
                       stdout);
            return 0;
        }
        return mv::runCommandLineImport(options, dataDirectoryOf(options));
    }

    QApplication app(argc, argv);
    nameApplication();
    mv::installChineseTexts(app);
    // The program ends only through its exit paths (退出, closing the main window or the login
    // window), never because the last visible window closed: the login window is hidden while
    // the main window, which does not quit on close, is open, so closing a message box or a
    // secondary window would otherwise end everything.
    QApplication::setQuitOnLastWindowClosed(false);

    const mv::ProgramOptions options = mv::parseProgramOptions(QApplication::arguments());
    if (!options.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }

    mv::WidgetMessageResponder responder;
    mv::setMessageResponder(&responder);
    mv::installAutomationIds(app);

    const QString dataDirectory = dataDirectoryOf(options);
    if (!mv::offerAccessImport(dataDirectory, options.importCharset))
        return 0;
    mv::OpenOptions openOptions;
    openOptions.demoData = options.demo;
    if (!mv::chooseStartDatabase(options.database, &openOptions))
        return 2;
    mv::LoginWindow login(dataDirectory, openOptions);
    if (!login.databaseOpen() && !mv::settleStartFailure(login, dataDirectory, openOptions))
        return 1;
    login.move(50, 50);
    login.show();
    const int code = app.exec();
    mv::setMessageResponder(nullptr);
    return code;
}
