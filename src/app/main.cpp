// Morvane: the raw-material warehouse of a door, window and curtain-wall workshop.

#include "app/appearance.h"
#include "app/loginwindow.h"
#include "app/options.h"
#include "common/messages.h"
#include "data/datastore.h"
#include "widgets/automationids.h"
#include "widgets/widgetmessageresponder.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    mv::installChineseTexts(app);

    const mv::ProgramOptions options = mv::parseProgramOptions(QApplication::arguments());
    if (!options.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }

    mv::WidgetMessageResponder responder;
    mv::setMessageResponder(&responder);
    mv::installAutomationIds(app);

    const QString dataDirectory =
        mv::resolveDataDirectory(options.home, QCoreApplication::applicationDirPath());
    mv::OpenOptions openOptions;
    openOptions.demoData = options.demo;
    mv::LoginWindow login(dataDirectory, openOptions);
    login.move(50, 50);
    login.show();
    const int code = app.exec();
    mv::setMessageResponder(nullptr);
    return code;
}
