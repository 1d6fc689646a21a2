// Morvane: the raw-material warehouse of a door, window and curtain-wall workshop.

#include "app/commandlineimport.h"
#include "app/databasestart.h"
#include "app/options.h"
#include "app/programpaths.h"
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

} // namespace

int main(int argc, char* argv[])
{
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
