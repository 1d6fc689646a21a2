#pragma once
// The database of this start: --database, MORVANE_DATABASE or the choice saved in 数据设置,
// with the server password asked for when it is not remembered.

#include <QString>

namespace mv {

struct DatabaseChoice;
struct OpenOptions;

// Sets options->serverUrl for a server database (empty for the file). False when the
// program should end: an invalid URL (reported) or the password question cancelled.
bool chooseStartDatabase(const QString& databaseOption, OpenOptions* options);

// Asks for the password of the server choice (through the message service, so a window or
// the terminal asks); false when cancelled.
bool askServerPassword(DatabaseChoice* choice);

} // namespace mv
