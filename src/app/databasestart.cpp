#include "app/databasestart.h"

#include "common/messages.h"
#include "data/databasechoice.h"
#include "data/datastore.h"

#include <QSettings>

namespace mv {

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
    if (start.needsPassword) {
        const InputAnswer answer = passwordBox(u"请输入数据库服务器 %1 上用户 %2 的密码："_qs.arg(
                                                   start.choice.host, start.choice.user),
                                               u"数据库密码"_qs);
        if (!answer.accepted)
            return false;
        start.choice.password = answer.text;
    }
    options->serverUrl = serverUrl(start.choice);
    return true;
}

} // namespace mv
