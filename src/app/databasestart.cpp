#include "app/databasestart.h"

#include "common/messages.h"
#include "db/databasechoice.h"
#include "db/databasechoiceurl.h"
#include "db/datastore.h"

#include <QSettings>

namespace mv {

bool askServerPassword(DatabaseChoice* choice)
{
    const InputAnswer answer =
        passwordBox(u"请输入数据库服务器 %1 上用户 %2 的密码："_qs.arg(choice->host, choice->user),
                    u"数据库密码"_qs);
    if (!answer.accepted)
        return false;
    choice->password = answer.text;
    return true;
}

bool chooseStartDatabase(const QString& databaseOption, OpenOptions* options)
{
    QSettings settings;
    StartDatabase start = startDatabase(databaseOption, qEnvironmentVariable("MORVANE_DATABASE"),
                                        loadDatabaseChoice(settings));
    if (!start.error.isEmpty()) {
        msgBox(start.error, MsgOk, u"错误"_qs);
        return false;
    }
    if (!start.choice.server)
        return true;
    if (start.needsPassword && !askServerPassword(&start.choice))
        return false;
    options->serverUrl = serverUrl(start.choice);
    if (start.overridden)
        noteCommandLineDatabase(serverDescription(options->serverUrl));
    return true;
}

} // namespace mv
