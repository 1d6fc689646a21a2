#include "data/sqlfunctions.h"

#include "common/texts.h"

#include <sqlite3.h>

#include <limits>

namespace mv {

namespace {

void mvInt(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 1) {
        sqlite3_result_int(context, 0);
        return;
    }
    sqlite3_value* value = argv[0];
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_value_int64(value);
        const int clamped = v > std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
                            : v < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                                  : int(v);
        sqlite3_result_int(context, clamped);
        return;
    }
    case SQLITE_FLOAT:
        sqlite3_result_int(context, truncateToInt(sqlite3_value_double(value)));
        return;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const int size = sqlite3_value_bytes(value);
        sqlite3_result_int(context, text ? toIntegerUtf8(text, size) : 0);
        return;
    }
    default:
        sqlite3_result_int(context, 0);
        return;
    }
}

} // namespace

bool registerSqlFunctions(sqlite3* handle)
{
    if (!handle)
        return false;
    return sqlite3_create_function_v2(handle, "mv_int", 1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, &mvInt, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace mv
