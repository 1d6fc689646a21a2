#pragma once
// The backend-specific forms of the few SQL pieces that are not portable.

#include <QDate>
#include <QString>

namespace mv {

class Dialect
{
public:
    enum Backend
    {
        Sqlite,
        Postgres
    };
    explicit Dialect(Backend backend = Sqlite) : m_backend(backend) {}
    Backend backend() const { return m_backend; }

    // '2010-03-05'.
    QString dateLiteral(const QDate& date) const;
    // The text stored into a date column: ISO yyyy-MM-dd.
    QString dateValue(const QDate& date) const;

    // The ORDER BY term that lists yclnote rows in the order they were stored ("rowid" on
    // SQLite, the serial column of the same name on PostgreSQL).
    QString storedOrder() const;

    // The test that a date column lies in [from, to]: on SQLite mv_between(), which also reads
    // dates stored in other text forms; elsewhere a plain BETWEEN on the ISO text.
    QString dateBetween(const QString& column, const QDate& from, const QDate& to) const;

    // A yclnote line's quantity as the integer the sums add up (mv_int(数量)). PostgreSQL
    // keeps that integer in the stored column 数量值, which the sums read from an index
    // instead of evaluating mv_int() for every line; SQLite evaluates it.
    QString lineQuantity() const;

    // The key an item column (category, name, model, unit) is compared, grouped and ordered
    // by: the text with only the Latin letters A-Z folded to lower case. SQLite's item columns
    // do that by their NOCASE collation, so the key is the column itself there. On PostgreSQL
    // lower() under the "C" collation folds exactly A-Z, whatever the database's locale; the
    // server's item indexes are built on the same expression.
    QString itemKey(const QString& column) const;
    // "column = ?" compared by item key; the placeholder takes the value to look up.
    QString itemEquals(const QString& column) const;
    // "column LIKE ? ESCAPE '\'" compared by item key.
    QString itemLike(const QString& column) const;

    // The statement as this backend reads it. PostgreSQL: [name] becomes "name", and the
    // table name user (a reserved word there) is quoted; text inside literals is untouched.
    QString translate(const QString& sql) const;

private:
    Backend m_backend;
};

} // namespace mv
