#include "db/sqlfunctions.h"

#include "common/oledate.h"
#include "common/texts.h"

#include <QByteArray>
#include <QString>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "dddd-dd-dd" exactly: the form dates are stored in, passed through without conversion.
bool isIsoDate(const char* text, int size)
{
    if (size != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(text[i]))
            return false;
    return true;
}

// The ISO form of a date text that is not in it already; empty when the text is no date.
QByteArray isoDateText(const char* text, int size)
{
    const double date = textToDate(QString::fromUtf8(text, size));
    if (date == kNoDate)
        return {};
    const QDateTime dateTime = fromOleDate(date);
    return dateTime.time() == QTime(0, 0) ? dateTime.date().toString(u"yyyy-MM-dd"_qs).toLatin1()
                                          : dateTime.toString(u"yyyy-MM-dd hh:mm:ss"_qs).toLatin1();
}

void mvDate(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 1) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_value* value = argv[0];
    if (sqlite3_value_type(value) != SQLITE_TEXT) {
        sqlite3_result_value(context, value);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int size = sqlite3_value_bytes(value);
    if (!text || isIsoDate(text, size)) {
        sqlite3_result_value(context, value);
        return;
    }
    const QByteArray iso = isoDateText(text, size);
    if (iso.isEmpty()) {
        sqlite3_result_value(context, value);
        return;
    }
    sqlite3_result_text(context, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
}

// Text order of SQLite's BINARY collation: the bytes, then the length.
int compareBinary(const char* a, int aSize, const char* b, int bSize)
{
    const int common = std::min(aSize, bSize);
    const int c = common > 0 ? std::memcmp(a, b, size_t(common)) : 0;
    return c != 0 ? c : aSize - bSize;
}

// mv_between(x, low, high): "mv_date(x) BETWEEN low AND high" for text bounds, without
// copying a date that is already in the ISO form (the summaries ask it of every line).
void mvBetween(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 3 || sqlite3_value_type(argv[1]) != SQLITE_TEXT ||
        sqlite3_value_type(argv[2]) != SQLITE_TEXT) {
        sqlite3_result_null(context);
        return;
    }
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_TEXT:
        break;
    default: // numbers sort before every text and blobs after it
        sqlite3_result_int(context, 0);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    int size = sqlite3_value_bytes(argv[0]);
    QByteArray iso;
    if (text && !isIsoDate(text, size)) {
        iso = isoDateText(text, size);
        if (!iso.isEmpty()) {
            text = iso.constData();
            size = int(iso.size());
        }
    }
    const auto* low = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int lowSize = sqlite3_value_bytes(argv[1]);
    const auto* high = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
    const int highSize = sqlite3_value_bytes(argv[2]);
    if (!text || !low || !high) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, compareBinary(text, size, low, lowSize) >= 0 &&
                                    compareBinary(text, size, high, highSize) <= 0);
}

} // namespace

bool registerSqlFunctions(sqlite3* handle)
{
    if (!handle)
        return false;
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function_v2(handle, "mv_int", 1, flags, nullptr, &mvInt, nullptr, nullptr,
                                      nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(handle, "mv_date", 1, flags, nullptr, &mvDate, nullptr,
                                      nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(handle, "mv_between", 3, flags, nullptr, &mvBetween, nullptr,
                                      nullptr, nullptr) == SQLITE_OK;
}

} // namespace mv
