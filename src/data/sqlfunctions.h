#pragma once
// SQL functions the program registers on every SQLite connection.

struct sqlite3;

namespace mv {

// Registers mv_int(x): the program's to-integer rule inside SQL (NULL 0, integers as they
// are clamped to int, reals truncated toward zero, texts read like atoi after folding the
// full-width forms). Returns false when SQLite refuses the registration.
bool registerSqlFunctions(sqlite3* handle);

} // namespace mv
