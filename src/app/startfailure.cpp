#include "app/startfailure.h"

#include "app/databasestart.h"
#include "common/messages.h"
#include "db/databasechoice.h"
#include "db/databasechoiceurl.h"
#include "db/datastore.h"
#include "gui/data/databasesettingswindow.h"
#include "gui/users/loginwindow.h"

#include <QDir>
#include <QSettings>

namespace mv {

namespace {

const QString kTitle = u"无法打开数据库"_qs;

// 数据设置 at start-up: the choice saved there becomes this start's. False when cancelled.
bool chooseInSettings(const QString& dataDirectory, OpenOptions* options)
{
    DatabaseSettingsWindow window(QDir(dataDirectory).filePath(u"db.mdb"_qs));
    window.setAppliesAtOnce(true);
    if (window.exec() != QDialog::Accepted)
        return false;
    // As typed: a password not to be remembered is not in the settings, yet it is this
    // start's.
    DatabaseChoice choice = window.choice();
    if (choice.server && choice.password.isEmpty() && !askServerPassword(&choice))
        return false;
    options->serverUrl = choice.server ? serverUrl(choice) : QString();
    return true;
}

} // namespace

bool settleStartFailure(LoginWindow& login, const QString& dataDirectory, OpenOptions options)
{
    while (!login.databaseOpen()) {
        if (options.serverUrl.isEmpty()) {
            msgBox(login.databaseError() + u"\n\n程序将退出。"_qs, MsgOk, kTitle);
            return false;
        }
        const int chosen = chooseItem(
            login.databaseError() +
                u"\n\n可以重新输入密码，或在“数据设置”中检查服务器地址、端口、数据库和用户名"
                u"（也可以改用本机的数据库文件）："_qs,
            kTitle, {u"重新输入密码"_qs, u"数据设置"_qs, u"退出"_qs});
        if (chosen == 0) {
            DatabaseChoice choice;
            if (!parseServerUrl(options.serverUrl, &choice) || !askServerPassword(&choice))
                continue;
            options.serverUrl = serverUrl(choice);
        } else if (chosen == 1) {
            if (!chooseInSettings(dataDirectory, &options))
                continue;
        } else {
            return false;
        }
        login.openDatabase(dataDirectory, options);
    }
    return true;
}

} // namespace mv
