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

    // The statement as this backend reads it. PostgreSQL: [name] becomes "name", and the
    // table name user (a reserved word there) is quoted; text inside literals is untouched.
    QString translate(const QString& sql) const;

private:
    Backend m_backend;
};

} // namespace mv
