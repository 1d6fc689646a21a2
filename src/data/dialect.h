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
        Postgres,
        Access
    };
    explicit Dialect(Backend backend = Sqlite) : m_backend(backend) {}
    Backend backend() const { return m_backend; }

    // #2010-3-5# on Access, '2010-03-05' elsewhere.
    QString dateLiteral(const QDate& date) const;
    // The text stored into a date column: ISO yyyy-MM-dd except on Access.
    QString dateValue(const QDate& date) const;

    // The ORDER BY term that lists rows in the order they were stored ("rowid" on SQLite);
    // empty where the backend has none and a plain scan gives that order.
    QString storedOrder() const;

private:
    Backend m_backend;
};

} // namespace mv
