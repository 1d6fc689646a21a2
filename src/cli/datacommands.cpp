// backup and restore: 数据备份 and 数据恢复 of the 系统 menu.

#include "cli/command.h"
#include "db/connection.h"
#include "exchange/backup/databasebackup.h"
#include "exchange/backup/databaserestore.h"
#include "exchange/backup/serverdump.h"
#include "users/accounts.h"

#include <QDir>
#include <algorithm>

namespace mv::cli {

int runBackup(const Command& command)
{
    const QStringList names = command.args.positionalArguments();
    return report(
        backupDatabase(command.connection, names.isEmpty() ? defaultBackupName() : names.at(0)));
}

int runRestore(const Command& command)
{
    if (command.connection.dialect().backend() == Dialect::Postgres)
        return refuse(serverRestoreNotice());
    const QString dataDirectory = dataDirectoryOf(command.connection);
    const QList<BackupEntry> backups = listBackups(dataDirectory);
    if (backups.isEmpty())
        return refuse(u"备份目录 %1 中没有备份文件，请先用“数据备份”备份数据。"_qs.arg(
            QDir::toNativeSeparators(backupDirectory(dataDirectory))));
    // The name as 数据恢复 lists it, or else the file name with its suffix: a backup named
    // "月末.mdbbak" is found by its own name before one named "月末".
    QString name = command.args.positionalArguments().at(0);
    const auto named = [&backups](const QString& wanted) {
        return std::find_if(backups.cbegin(), backups.cend(),
                            [&wanted](const BackupEntry& b) { return b.name == wanted; });
    };
    auto backup = named(name);
    if (backup == backups.cend() && name.endsWith(QLatin1String(kBackupSuffix))) {
        name.chop(qsizetype(qstrlen(kBackupSuffix)));
        backup = named(name);
    }
    if (backup != backups.cend())
        return report(restoreDatabase(command.connection, backup->path, command.user));
    return refuse(u"备份目录 %1 中没有名为“%2”的备份。"_qs.arg(
        QDir::toNativeSeparators(backupDirectory(dataDirectory)), name));
}

} // namespace mv::cli
