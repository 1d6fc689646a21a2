#include "db/dialect.h"

namespace mv {

QString Dialect::dateLiteral(const QDate& date) const
{
    return u'\'' + dateValue(date) + u'\'';
}

QString Dialect::dateValue(const QDate& date) const
{
    return date.toString(Qt::ISODate);
}

QString Dialect::storedOrder() const
{
    return QStringLiteral("rowid");
}

QString Dialect::dateBetween(const QString& column, const QDate& from, const QDate& to) const
{
    if (m_backend == Sqlite)
        return u"mv_between("_qs + column + u", "_qs + dateLiteral(from) + u", "_qs +
               dateLiteral(to) + u')';
    return column + u" BETWEEN "_qs + dateLiteral(from) + u" AND "_qs + dateLiteral(to);
}

QString Dialect::lineQuantity() const
{
    return m_backend == Postgres ? u"数量值"_qs : u"mv_int(数量)"_qs;
}

QString Dialect::itemKey(const QString& column) const
{
    if (m_backend != Postgres)
        return column;
    return u"lower("_qs + column + u" COLLATE \"C\")"_qs;
}

QString Dialect::itemEquals(const QString& column) const
{
    if (m_backend != Postgres)
        return column + u" = ?"_qs;
    return itemKey(column) + u" = lower(CAST(? AS text) COLLATE \"C\")"_qs;
}

QString Dialect::itemLike(const QString& column) const
{
    if (m_backend != Postgres)
        return column + u" LIKE ? ESCAPE '\\'"_qs;
    return itemKey(column) + u" LIKE lower(CAST(? AS text) COLLATE \"C\") ESCAPE '\\'"_qs;
}

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

QString Dialect::translate(const QString& sql) const
{
    if (m_backend != Postgres)
        return sql;
    QString out;
    out.reserve(sql.size() + 8);
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            // A literal or a quoted identifier, copied whole ('' and "" stay inside).
            const qsizetype start = i;
            for (++i; i < n; ++i) {
                if (sql.at(i) == c) {
                    if (i + 1 < n && sql.at(i + 1) == c)
                        ++i;
                    else
                        break;
                }
            }
            out += QStringView(sql).mid(start, std::min(i, n - 1) - start + 1);
            continue;
        }
        if (c == u'[') {
            const qsizetype close = sql.indexOf(u']', i + 1);
            if (close > i) {
                out += u'"' + QStringView(sql).mid(i + 1, close - i - 1).toString() + u'"';
                i = close;
                continue;
            }
        }
        if (isWordCharacter(c) && (i == 0 || !isWordCharacter(sql.at(i - 1)))) {
            qsizetype end = i;
            while (end < n && isWordCharacter(sql.at(end)))
                ++end;
            const QStringView word = QStringView(sql).mid(i, end - i);
            out +=
                word.compare(u"user", Qt::CaseInsensitive) == 0 ? u"\"user\""_qs : word.toString();
            i = end - 1;
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace mv
