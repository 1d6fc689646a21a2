#pragma once
// Restoring the open database from a backup in datebak. The chosen file is checked on a
// private copy first (an SQLite database with the program's tables, of a schema version the
// program knows, brought up to the current one); the current data is then backed up as
// "恢复前-<date and time>.mdbbak", and only then copied over the open database in one
// transaction, so the running program sees the restored data at once.

#include "common/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace mv {

class Connection;

struct BackupEntry
{
    QString name; // file name without .mdbbak
    QString path;
    QDateTime modified;
};

// The backups in <dataDirectory>/datebak, newest first.
QList<BackupEntry> listBackups(const QString& dataDirectory);

// Why the file cannot be restored, or an empty text when it can.
QString checkBackupFile(const QString& path);

// The message says what happened, or why nothing changed.
struct RestoreOutcome : Outcome<>
{
    QString safetyCopy; // the backup of the data as it was before the restore
};

RestoreOutcome restoreDatabase(Connection& connection, const QString& backupPath);

} // namespace mv
