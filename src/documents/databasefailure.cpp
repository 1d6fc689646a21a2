#include "documents/databasefailure.h"

#include "data/connection.h"

namespace mv {

Outcome databaseFailure(const Connection& connection, const QString& action)
{
    const QString title = QStringLiteral("错误");
    if (connection.lastErrorWasBusy())
        return Outcome::refused(QStringLiteral("数据库正被另一个程序使用，") + action +
                                    QStringLiteral("没有完成，请稍后再试。"),
                                title);
    return Outcome::refused(action + QStringLiteral("失败，数据库报告：") + connection.lastError(),
                            title);
}

} // namespace mv
