#pragma once
// Backups of a PostgreSQL database: pg_dump in its custom format, written under a temporary
// name and renamed into place when pg_dump finished without error.

#include <QString>

namespace mv {

inline constexpr char kServerBackupSuffix[] = ".pgdump";

// Dumps the database the URL names into path; false with a plain Chinese reason (pg_dump
// missing, or what it reported).
bool dumpServerDatabase(const QString& url, const QString& path, QString* error);

// Why 数据恢复 does not restore a server database, and who can.
QString serverRestoreNotice();

} // namespace mv
