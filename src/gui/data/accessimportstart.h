#pragma once
// At start-up: puts back an Access file an import cut short left without db.mdb; when db.mdb
// is an Access file, offers to import it, runs the import with a progress window and shows
// its summary.

#include <QString>

namespace mv {

// True when the program goes on to the login: db.mdb is no Access file, or it was imported.
// False when the user declined the import or it failed (the message has been shown).
bool offerAccessImport(const QString& dataDirectory, const QString& jet3Charset);

} // namespace mv
