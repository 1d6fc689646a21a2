#pragma once
// SQL functions the program registers on every SQLite connection.

struct sqlite3;

namespace mv {

// Registers mv_int(x): the program's to-integer rule inside SQL (NULL 0, integers as they
// are clamped to int, reals truncated toward zero, texts read like atoi after folding the
// full-width forms), and mv_date(x): a date text in the canonical ISO form, so that text
// comparisons with ISO date literals compare dates ("2010-03-06" for "2010-3-6", "2010/03/06"
// or "2010年3月6日"; "2010-03-06 10:00:00" when the text has a time of day other than
// midnight). Texts already in the form yyyy-MM-dd, NULL, numbers and texts that are no date
// come back unchanged. mv_between(x, low, high) is "mv_date(x) BETWEEN low AND high" for
// text bounds, cheaper on dates already in the ISO form. Returns false when SQLite refuses a
// registration.
bool registerSqlFunctions(sqlite3* handle);

} // namespace mv
