#pragma once
// Reading the tables of a legacy Access/Jet database file (Jet 3 and Jet 4) through the
// mdbtools library: table names, column names and kinds, and the rows as typed values.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace mv {

// One field of an Access row.
struct AccessValue
{
    enum Kind
    {
        Null,
        Text,    // text and memo columns, replication ids
        Integer, // byte, integer, long integer, yes/no (0 or 1)
        Single,  // single-precision number, in number
        Double,  // double-precision number, in number
        Decimal, // currency and decimal columns, exact decimal text in text
        Date,    // date/time as a day count (OLE automation date), in number
        Binary   // binary and OLE object columns, in bytes
    };
    Kind kind = Null;
    QString text;
    qint64 integer = 0;
    double number = 0;
    QByteArray bytes;
};

struct AccessColumn
{
    QString name;
    AccessValue::Kind kind = AccessValue::Null; // the kind its non-null values have
};

class AccessTablePrivate;

// The rows of one table, read front to back.
class AccessTable
{
public:
    ~AccessTable();
    AccessTable(const AccessTable&) = delete;
    AccessTable& operator=(const AccessTable&) = delete;

    QString name() const;
    const QList<AccessColumn>& columns() const;
    // The row count the table's definition declares (reading should yield as many).
    qint64 declaredRows() const;
    // Moves to the next row; false at the end or when the row cannot be read (see error()).
    bool next();
    // The field of the current row; column is an index into columns().
    AccessValue value(int column) const;
    // Why the last next() or value() failed, empty when nothing did.
    QString error() const;

private:
    friend class AccessFile;
    explicit AccessTable(std::unique_ptr<AccessTablePrivate> d);
    std::unique_ptr<AccessTablePrivate> d;
};

class AccessFilePrivate;

// An open Access file, read only.
class AccessFile
{
public:
    AccessFile();
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // Opens the file read only. Jet 3 files store their texts in the code page of the
    // machine that wrote them, which the file does not record: jet3Charset names it (an
    // iconv name such as "GBK" or "CP1252"). Jet 4 texts are Unicode.
    bool open(const QString& path, const QString& jet3Charset, QString* error = nullptr);
    bool isOpen() const;
    int jetVersion() const; // 3 or 4 (4 also for later formats); 0 when not open

    // The user tables, in the file's catalogue order.
    QStringList tableNames() const;
    // The named table (exact name), or nullptr with *error set.
    std::unique_ptr<AccessTable> openTable(const QString& name, QString* error = nullptr);

private:
    std::unique_ptr<AccessFilePrivate> d;
};

} // namespace mv
