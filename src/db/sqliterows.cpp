#include "db/sqliterows.h"

#include <QDateTime>
#include <QTime>

#include <sqlite3.h>

namespace mv {

namespace {

// Whether Qt's driver binds the value as NULL: an invalid or null variant, or a null text,
// byte array, date or time inside one.
bool bindsAsNull(const QVariant& value)
{
    if (value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(value.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(value.constData())->isNull();
    case QMetaType::QDate:
        return static_cast<const QDate*>(value.constData())->isNull();
    case QMetaType::QTime:
        return static_cast<const QTime*>(value.constData())->isNull();
    case QMetaType::QDateTime:
        return static_cast<const QDateTime*>(value.constData())->isNull();
    default:
        return false;
    }
}

int bindText(sqlite3_stmt* statement, int index, const QString& text)
{
    return sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * sizeof(QChar)),
                               SQLITE_TRANSIENT);
}

int bindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (bindsAsNull(value))
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                                 SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, index, value.toInt());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::QDateTime:
        return bindText(statement, index, value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime:
        return bindText(statement, index, value.toTime().toString(u"hh:mm:ss.zzz"));
    default:
        return bindText(statement, index, value.toString());
    }
}

QString utf8Text(sqlite3_stmt* statement, int column)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(statement, column));
}

} // namespace

SqliteRows::~SqliteRows()
{
    finish();
}

bool SqliteRows::start(sqlite3* handle, const QString& sql, const QVariantList& values)
{
    finish();
    m_columns.clear();
    m_tables.clear();
    m_handle = handle;
    const void* tail = nullptr;
    if (sqlite3_prepare16_v2(handle, sql.utf16(), int(sql.size() * sizeof(QChar)), &m_statement,
                             &tail) != SQLITE_OK ||
        !m_statement)
        return fail("Unable to execute statement");
    // One statement at a time, as the driver has it: whatever follows the first is refused,
    // not ignored.
    const qsizetype used = (static_cast<const QChar*>(tail) - sql.constData());
    if (!QStringView(sql).mid(used).trimmed().isEmpty()) {
        refuse(SQLITE_MISUSE, "Unable to execute multiple statements at a time",
               QString::fromUtf8(sqlite3_errmsg(handle)));
        return false;
    }
    if (sqlite3_bind_parameter_count(m_statement) != values.size()) {
        refuse(0, "Parameter count mismatch", QString());
        return false;
    }
    for (int i = 0; i < values.size(); ++i)
        if (bindValue(m_statement, i + 1, values.at(i)) != SQLITE_OK)
            return fail("Unable to bind parameters");
    const int columns = sqlite3_column_count(m_statement);
    m_columns.reserve(columns);
    m_tables.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        m_columns.append(QString::fromUtf8(sqlite3_column_name(m_statement, c)).remove(u'"'));
        m_tables.append(QString::fromUtf8(sqlite3_column_table_name(m_statement, c)));
    }
    const int first = sqlite3_step(m_statement);
    if (first != SQLITE_ROW && first != SQLITE_DONE)
        return fail("Unable to fetch row");
    m_row = first == SQLITE_ROW;
    return true;
}

bool SqliteRows::next()
{
    if (!m_row)
        return false;
    m_row = sqlite3_step(m_statement) == SQLITE_ROW;
    return m_row;
}

void SqliteRows::finish()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_row = false;
}

void SqliteRows::refuse(int code, const char* step, const QString& text)
{
    m_failureCode = code;
    m_failureText = text;
    m_failureStep = QString::fromLatin1(step);
    finish();
}

bool SqliteRows::fail(const char* step)
{
    m_failureCode = sqlite3_extended_errcode(m_handle);
    m_failureText = QString::fromUtf8(sqlite3_errmsg(m_handle));
    m_failureStep = QString::fromLatin1(step);
    finish();
    return false;
}

int SqliteRows::columnIndex(const QString& name) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns.at(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return -1;
    const QStringView table = QStringView(name).left(dot);
    const QStringView column = QStringView(name).mid(dot + 1);
    for (int c = 0; c < m_columns.size(); ++c)
        if (column.compare(m_columns.at(c), Qt::CaseInsensitive) == 0 &&
            table.compare(m_tables.at(c), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QVariant SqliteRows::value(int column) const
{
    if (!m_row || column < 0 || column >= m_columns.size())
        return {};
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    default:
        return utf8Text(m_statement, column);
    }
}

QString SqliteRows::text(int column) const
{
    if (m_row && column >= 0 && column < m_columns.size() &&
        sqlite3_column_type(m_statement, column) == SQLITE_TEXT)
        return utf8Text(m_statement, column);
    return value(column).toString();
}

} // namespace mv
