#include "documents/databasefailure.h"

#include "db/connection.h"

namespace mv {

DocumentOutcome databaseFailure(const Connection& connection, const QString& action)
{
    const QString title = QStringLiteral("错误");
    if (connection.lastErrorWasBusy())
        return DocumentOutcome::refused(QStringLiteral("数据库正被另一个程序使用，") + action +
                                            QStringLiteral("没有完成，请稍后再试。"),
                                        title);
    if (connection.lastErrorWasConnectionLost())
        return DocumentOutcome::refused(
            QStringLiteral("与数据库服务器的连接中断，") + action +
                QStringLiteral("没有完成，数据库中没有保存任何改动。"
                               "程序会在下一次操作时重新连接，请稍后再试。"),
            title);
    if (connection.lastErrorWasDiskFull())
        return DocumentOutcome::refused(
            QStringLiteral("数据所在的磁盘已满，") + action +
                QStringLiteral("没有完成，数据库中没有保存任何改动。请清理出磁盘空间后再试。"),
            title);
    if (connection.lastErrorWasReadOnly())
        return DocumentOutcome::refused(
            QStringLiteral("数据库是只读的，") + action +
                QStringLiteral("没有完成，数据库中没有保存任何改动。请检查数据文件及其目录的写入"
                               "权限。"),
            title);
    return DocumentOutcome::refused(
        action + QStringLiteral("失败，数据库报告：") + connection.lastErrorForUser(), title);
}

} // namespace mv
