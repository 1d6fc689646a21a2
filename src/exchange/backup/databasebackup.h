#pragma once
// Backups of the open database: consistent snapshots taken through SQLite's online backup,
// written under a fresh name and renamed into place, so a backup file is complete or absent.
// Backups are <data directory>/datebak/<name>.mdbbak.

#include "common/outcome.h"

#include <QString>

struct sqlite3;

namespace mv {

class Connection;

inline constexpr char kBackupSuffix[] = ".mdbbak";

// <dataDirectory>/datebak
QString backupDirectory(const QString& dataDirectory);
// The directory of the open database file: where db.mdb and datebak live.
QString dataDirectoryOf(const Connection& connection);

// Today's date as "2010年5月3日" (program clock).
QString defaultBackupName();
// Why name cannot name a backup file (empty, a path separator or another character file
// systems refuse), or an empty text when it can.
QString backupNameProblem(const QString& name);

// The message says what was written, or why nothing was.
struct BackupOutcome : Outcome<>
{
    QString path; // the backup file written
};

// The file a backup of that name is written to (the server's dumps have their own suffix).
QString backupFilePath(const Connection& connection, const QString& name);

// Backs up the open database as datebak/<name>.mdbbak, replacing a backup of that name.
BackupOutcome backupDatabase(Connection& connection, const QString& name);

// Copies every page of SQLite's database source into target with the online backup, in one
// transaction of target's; SQLITE_OK, or the code of the failure (whose words are target's).
int copyDatabasePages(sqlite3* target, sqlite3* source);

// Writes a consistent copy of the open SQLite database to path (replacing it only when the
// copy is complete); false with the reason in *error.
bool snapshotDatabase(Connection& connection, const QString& path, QString* error);

} // namespace mv
