#pragma once
// Statement builders and text helpers. Builders only build text; callers send it through
// the connection. Every value placed between single quotes goes through sqlQuoted().

#include <QString>
#include <QStringList>
#include <optional>

namespace mv {

// The value between single quotes, with every ' doubled.
QString sqlQuoted(const QString& value);
// The value with every ' doubled (for callers that write the quotes themselves).
QString sqlEscaped(const QString& value);
// The value as a LIKE pattern body that matches it literally (escape character '\'),
// with quotes doubled; use with " ESCAPE '\'".
QString likeEscaped(const QString& value);

// Byte-wise, case-sensitive comparison of the GBK bytes; returns -1, 0 or 1.
int compareTexts(const QString& a, const QString& b);

// "SELECT " fields " FROM [" table "] WHERE " condition [" GROUP BY " grouping]
// [" ORDER BY " order]; a missing condition is "1=1", missing fields "*"; " 升序"/" 降序"
// in the order become " ASC"/" DESC".
QString buildSelect(const QString& table, const std::optional<QString>& condition = {},
                    const std::optional<QString>& order = {},
                    const std::optional<QString>& grouping = {},
                    const std::optional<QString>& fields = {});
// "UPDATE [" table "] SET " assignments [" WHERE " condition]
QString buildUpdate(const QString& table, const QString& assignments,
                    const std::optional<QString>& condition = {});
// "INSERT INTO [" table "] (" columns ") VALUES (" values ")" from "col='v',col2='w'";
// splits only at ',' and '=' outside quoted literals.
QString buildInsert(const QString& table, const QString& assignments);

} // namespace mv
