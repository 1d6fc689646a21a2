#include "gui/main/databasemenu.h"

#include "common/messages.h"
#include "common/oledate.h"
#include "common/session.h"
#include "db/connection.h"
#include "exchange/backup/databasebackup.h"
#include "exchange/backup/databaserestore.h"
#include "exchange/backup/serverdump.h"
#include "gui/data/databasesettingswindow.h"
#include "widgets/showoutcome.h"
#include "widgets/waitcursor.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>

namespace mv {

void openDatabaseSettings(Connection& connection, QWidget* parent)
{
    DatabaseSettingsWindow window(QDir(dataDirectoryOf(connection)).filePath(u"db.mdb"_qs), parent);
    window.exec();
}

DatabaseMenu::DatabaseMenu(Connection& connection, QObject* parent)
    : QObject(parent), m_connection(connection)
{
}

void DatabaseMenu::backUp()
{
    QString name = defaultBackupName();
    for (;;) {
        const InputAnswer answer = inputBox(QStringLiteral("请在下面框中输入你要备份的数据的名字"),
                                            QStringLiteral("数据库备份"), name);
        if (!answer.accepted)
            return;
        // A name that cannot name a file is said so, then asked for again as it was typed, to
        // be corrected rather than typed anew.
        if (const QString problem = backupNameProblem(answer.text); !problem.isEmpty()) {
            msgBox(problem, MsgOk, QStringLiteral("错误"));
            name = answer.text;
            continue;
        }
        // Another backup of that name, made earlier, would be gone: asked first, and on 否
        // the name comes back to be changed.
        const QFileInfo existing(backupFilePath(m_connection, answer.text));
        if (existing.exists() &&
            msgBox(QStringLiteral("已有名为“%1”的备份（%2备份）。要用现在的数据替换它吗？\n"
                                  "选“否”可以换一个名字。")
                       .arg(answer.text, dateText(existing.lastModified())),
                   MsgYesNo, QStringLiteral("询问")) != AnswerYes) {
            name = answer.text;
            continue;
        }
        showOutcome(backupDatabase(m_connection, answer.text));
        return;
    }
}

void DatabaseMenu::restore()
{
    if (m_connection.dialect().backend() == Dialect::Postgres) {
        msgBox(serverRestoreNotice(), MsgOkInfo, QStringLiteral("提示"));
        return;
    }
    const QString dataDirectory = dataDirectoryOf(m_connection);
    const QList<BackupEntry> backups = listBackups(dataDirectory);
    if (backups.isEmpty()) {
        msgBox(QStringLiteral("备份目录 %1 中没有备份文件，请先用“数据备份”备份数据。")
                   .arg(QDir::toNativeSeparators(backupDirectory(dataDirectory))),
               MsgOkInfo, QStringLiteral("提示"));
        return;
    }
    QStringList items;
    for (const BackupEntry& entry : backups)
        items.append(entry.name + QStringLiteral("　（") + dateText(entry.modified) +
                     QStringLiteral("）"));
    const int chosen = chooseItem(QStringLiteral("请选择要恢复的备份（最新的在最前）："),
                                  QStringLiteral("数据恢复"), items);
    if (chosen < 0 || chosen >= backups.size())
        return;
    const BackupEntry& backup = backups.at(chosen);
    const int answer =
        msgBox(QStringLiteral("确定要用备份“%1”恢复数据吗？\n恢复前，当前的数据会先备份为"
                              "“恢复前-日期时间”，需要时可以再恢复回来。")
                   .arg(backup.name),
               MsgYesNo, QStringLiteral("询问"));
    if (answer != AnswerYes)
        return;

    RestoreOutcome outcome;
    {
        const WaitCursor wait;
        outcome = restoreDatabase(m_connection, backup.path, session().currentUser);
        if (outcome.done)
            emit dataReplaced();
    }
    showOutcome(outcome);
}

} // namespace mv
