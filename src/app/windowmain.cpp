// morvane-window: the program's windows. morvane starts it (see main.cpp) when no subcommand
// or printing option is given, with its own command line.

#include "app/databasestart.h"
#include "app/options.h"
#include "app/programpaths.h"
#include "app/startfailure.h"
#include "app/windowdisplay.h"
#include "common/messages.h"
#include "db/datastore.h"
#include "gui/data/accessimportstart.h"
#include "gui/main/appearance.h"
#include "gui/users/loginwindow.h"
#include "widgets/automationids.h"
#include "widgets/focusreturn.h"
#include "widgets/widgetmessageresponder.h"
#include "widgets/windowmemory.h"

#include <QApplication>
#include <cstdio>
#include <optional>

int main(int argc, char* argv[])
{
    std::optional<mv::DisplayOpening> opening(std::in_place);
    QApplication app(argc, argv);
    opening.reset();
    mv::nameProgram();
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
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
    mv::FocusReturn focusReturn;
    mv::WindowMemory mainWindowPlace(QStringLiteral("MainWindow"));

    const QString dataDirectory = mv::programDataDirectory(options.home);
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
