#include "db/builders.h"

#include "common/texts.h"

namespace mv {

namespace {

// Splits at every `separator` that stands outside a single-quoted literal. A doubled quote
// inside a literal closes and reopens it, so it stays inside.
QStringList splitOutsideQuotes(const QString& text, QChar separator)
{
    QStringList parts;
    bool inLiteral = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\'')
            inLiteral = !inLiteral;
        else if (ch == separator && !inLiteral) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

} // namespace

QString sqlQuoted(const QString& value)
{
    return u'\'' + sqlEscaped(value) + u'\'';
}

QString sqlEscaped(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'\'', QLatin1String("''"));
    return escaped;
}

QString likeEscaped(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (QChar ch : value) {
        if (ch == u'\\' || ch == u'%' || ch == u'_')
            escaped += u'\\';
        else if (ch == u'\'')
            escaped += u'\'';
        escaped += ch;
    }
    return escaped;
}

int compareTexts(const QString& a, const QString& b)
{
    if (const int byBytes = compareBytes(gbkBytes(a), gbkBytes(b)); byBytes != 0)
        return byBytes;
    // Characters without a GBK code all read as '?': texts that differ only in them are not
    // equal, or a password could be matched by typing '?'.
    const int exact = QString::compare(a, b, Qt::CaseSensitive);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

QString buildSelect(const QString& table, const std::optional<QString>& condition,
                    const std::optional<QString>& order, const std::optional<QString>& grouping,
                    const std::optional<QString>& fields)
{
    QString statement = QLatin1String("SELECT ") + fields.value_or(QStringLiteral("*")) +
                        QLatin1String(" FROM [") + table + QLatin1String("] WHERE ") +
                        condition.value_or(QStringLiteral("1=1"));
    if (grouping)
        statement += QLatin1String(" GROUP BY ") + *grouping;
    if (order) {
        QString orderText = *order;
        orderText.replace(QStringLiteral(" 升序"), QLatin1String(" ASC"));
        orderText.replace(QStringLiteral(" 降序"), QLatin1String(" DESC"));
        statement += QLatin1String(" ORDER BY ") + orderText;
    }
    return statement;
}

QString buildUpdate(const QString& table, const QString& assignments,
                    const std::optional<QString>& condition)
{
    QString statement = QLatin1String("UPDATE [") + table + QLatin1String("] SET ") + assignments;
    if (condition)
        statement += QLatin1String(" WHERE ") + *condition;
    return statement;
}

QString buildInsert(const QString& table, const QString& assignments)
{
    QString columns;
    QString values;
    for (const QString& piece : splitOutsideQuotes(assignments, u',')) {
        const QStringList sides = splitOutsideQuotes(piece, u'=');
        columns += sides.at(0) + u',';
        values += (sides.size() > 1 ? sides.at(1) : QString()) + u',';
    }
    columns.chop(1);
    values.chop(1);
    return QLatin1String("INSERT INTO [") + table + QLatin1String("] (") + columns +
           QLatin1String(") VALUES (") + values + u')';
}

} // namespace mv
