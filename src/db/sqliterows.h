#pragma once
// The rows of one SQLite statement read straight from SQLite, one after the other: long
// lists (the stock, the summary, a search) are read without Qt SQL's copy of every value of
// every row, and only the fields asked for are converted. The values come back as Qt's SQLite
// driver gives them (integers as qint64, reals as double, texts as QString, NULL as a null
// QString variant, blobs as QByteArray), so that a caller cannot tell the two apart.

#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace mv {

class SqliteRows
{
public:
    SqliteRows() = default;
    ~SqliteRows();
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    // Prepares sql, binds values to its '?' placeholders in order (as the driver binds them)
    // and steps to the first row. False on a failure, whose code and SQLite's message are
    // then given by failureCode() and failureText().
    bool start(sqlite3* handle, const QString& sql, const QVariantList& values);
    // Steps to the next row; false past the last one (or on a failure, which ends the rows
    // as it does for Qt's forward-only queries).
    bool next();
    bool hasRow() const { return m_row; }
    // Ends the statement; no more rows.
    void finish();

    int columnCount() const { return int(m_columns.size()); }
    // The position of a column by its name, compared as Qt compares record field names
    // (letter case ignored; a "table.column" name also by the table and the column a field is
    // read from); -1 when unknown.
    int columnIndex(const QString& name) const;
    QVariant value(int column) const;
    // The field as text, as value(column).toString() gives it.
    QString text(int column) const;

    int failureCode() const { return m_failureCode; } // 0 when SQLite gave none
    QString failureText() const { return m_failureText; }
    // Qt's description of the step that failed (preparing or fetching).
    QString failureStep() const { return m_failureStep; }

private:
    // A failure of SQLite (its code and message), or one found around it, as Qt's driver
    // reports them.
    bool fail(const char* step);
    void refuse(int code, const char* step, const QString& text);

    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    QStringList m_columns;
    QStringList m_tables; // the table of each column read straight from one
    bool m_row = false;
    int m_failureCode = 0;
    QString m_failureText;
    QString m_failureStep;
};

} // namespace mv
