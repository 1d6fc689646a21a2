#include "exchange/access/accessfile.h"

#include <mdbtools.h>

#include <QByteArray>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>
#include <iconv.h>

namespace mv {

namespace {

// Texts arrive from mdbtools in this encoding; it is set for every file we open.
const char kTargetCharset[] = "UTF-8";
// OLE objects are read whole; the bound buffer only holds their header.
const size_t kBindSize = 4096;

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool charsetKnown(const QByteArray& charset)
{
    const iconv_t converter = iconv_open(kTargetCharset, charset.constData());
    if (converter == iconv_t(-1))
        return false;
    iconv_close(converter);
    return true;
}

// Sets an environment variable for the lifetime of the object, then restores it: mdbtools
// reads its code pages from the environment when a file is opened.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

AccessValue::Kind kindOf(int columnType)
{
    switch (columnType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return AccessValue::Integer;
    case MDB_FLOAT:
        return AccessValue::Single;
    case MDB_DOUBLE:
        return AccessValue::Double;
    case MDB_MONEY:
    case MDB_NUMERIC:
        return AccessValue::Decimal;
    case MDB_DATETIME:
        return AccessValue::Date;
    case MDB_BINARY:
    case MDB_OLE:
        return AccessValue::Binary;
    default:
        return AccessValue::Text;
    }
}

// Takes ownership of a g_malloc'ed UTF-8 string.
QString takeText(char* text)
{
    const QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

// A currency value: a 64-bit count of ten-thousandths, written without trailing zeros.
QString moneyText(const unsigned char* bytes)
{
    qint64 value = 0;
    std::memcpy(&value, bytes, sizeof value); // little-endian on disk, as on our platforms
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    QString text = QString::number(magnitude / 10000);
    QString fraction = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLatin1Char('.') + fraction;
    return negative ? QLatin1Char('-') + text : text;
}

} // namespace

class AccessFilePrivate
{
public:
    ~AccessFilePrivate() { close(); }
    void close()
    {
        if (handle)
            mdb_close(handle);
        handle = nullptr;
    }
    MdbHandle* handle = nullptr;
};

class AccessTablePrivate
{
public:
    ~AccessTablePrivate()
    {
        for (void* buffer : buffers)
            g_free(buffer);
        if (table)
            mdb_free_tabledef(table);
    }
    MdbColumn* column(int index) const
    {
        return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
    }

    MdbHandle* handle = nullptr;
    MdbTableDef* table = nullptr;
    QString name;
    QList<AccessColumn> columns;
    QList<void*> buffers;   // bound buffers (yes/no and OLE columns), freed with the table
    QList<char*> bound;     // per column: its bound buffer or nullptr
    QList<int> boundLength; // per column: the length mdbtools reports for a bound value
    qint64 rowsRead = 0;
    QString error;
};

AccessTable::AccessTable(std::unique_ptr<AccessTablePrivate> d) : d(std::move(d)) {}
AccessTable::~AccessTable() = default;

QString AccessTable::name() const
{
    return d->name;
}

const QList<AccessColumn>& AccessTable::columns() const
{
    return d->columns;
}

qint64 AccessTable::declaredRows() const
{
    return d->table->num_rows;
}

bool AccessTable::next()
{
    if (!mdb_fetch_row(d->table)) {
        if (d->rowsRead != declaredRows())
            d->error = QStringLiteral("表 %1 只读出 %2 行，表定义记载 %3 行，文件可能已损坏")
                           .arg(d->name)
                           .arg(d->rowsRead)
                           .arg(declaredRows());
        return false;
    }
    // A damaged page chain can run on (even in a circle): more rows than declared is damage.
    if (++d->rowsRead > declaredRows()) {
        d->error = QStringLiteral("表 %1 读出的行比表定义记载的 %2 行多，文件可能已损坏")
                       .arg(d->name)
                       .arg(declaredRows());
        return false;
    }
    return true;
}

AccessValue AccessTable::value(int index) const
{
    AccessValue value;
    MdbColumn* column = d->column(index);
    MdbHandle* mdb = d->handle;
    const int type = column->col_type;
    if (type == MDB_BOOL) {
        value.kind = AccessValue::Integer;
        value.integer = std::strcmp(d->bound[index], mdb->boolean_true_value) == 0 ? 1 : 0;
        return value;
    }
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length <= 0)
        return value; // a null (or a zero-length text, which mdbtools does not tell apart)
    if (start < 0 ||
        start + (type == MDB_MEMO || type == MDB_OLE ? 0 : length) > mdb->fmt->pg_size) {
        d->error = QStringLiteral("表 %1 的列 %2 有一个值超出了数据页，文件可能已损坏")
                       .arg(d->name, QString::fromUtf8(column->name));
        return value;
    }
    const unsigned char* bytes = mdb->pg_buf + start;
    value.kind = kindOf(type);
    switch (type) {
    case MDB_BYTE:
        value.integer = bytes[0];
        break;
    case MDB_INT:
        value.integer = qint16(mdb_get_int16(mdb->pg_buf, start));
        break;
    case MDB_LONGINT:
        value.integer = qint32(mdb_get_int32(mdb->pg_buf, start));
        break;
    case MDB_FLOAT:
        value.number = mdb_get_single(mdb->pg_buf, start);
        break;
    case MDB_DOUBLE:
    case MDB_DATETIME:
        value.number = mdb_get_double(mdb->pg_buf, start);
        break;
    case MDB_MONEY:
        value.text = moneyText(bytes);
        break;
    case MDB_NUMERIC:
        value.text =
            takeText(mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec));
        break;
    case MDB_BINARY:
        value.bytes = QByteArray(reinterpret_cast<const char*>(bytes), length);
        break;
    case MDB_OLE: {
        size_t size = 0;
        void* data = mdb_ole_read_full(mdb, column, &size);
        value.bytes = QByteArray(static_cast<const char*>(data), qsizetype(size));
        g_free(data);
        break;
    }
    case MDB_REPID:
        value.text = takeText(mdb_uuid_to_string(mdb->pg_buf, start));
        break;
    default: // text, memo and anything newer: mdbtools' own text form
        value.kind = AccessValue::Text;
        value.text = takeText(mdb_col_to_string(mdb, mdb->pg_buf, start, type, length));
        break;
    }
    return value;
}

QString AccessTable::error() const
{
    return d->error;
}

AccessFile::AccessFile() : d(std::make_unique<AccessFilePrivate>()) {}
AccessFile::~AccessFile() = default;

bool AccessFile::open(const QString& path, const QString& jet3Charset, QString* error)
{
    d->close();
    const QByteArray charset = jet3Charset.toLatin1();
    if (charset.isEmpty() || !charsetKnown(charset))
        return fail(error, QStringLiteral("不认识的字符集 %1").arg(jet3Charset));
    if (!QFileInfo(path).isFile())
        return fail(error, QStringLiteral("找不到文件 %1").arg(path));
    {
        const ScopedEnvironment target("MDBICONV", kTargetCharset);
        const ScopedEnvironment jet3("MDB_JET3_CHARSET", charset);
        d->handle = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    }
    if (!d->handle)
        return fail(error, QStringLiteral("无法打开 Access 文件 %1").arg(path));
    // A Jet file is whole pages: anything else was cut short (a copy broken off, a full disk).
    if (QFileInfo(path).size() % d->handle->fmt->pg_size != 0) {
        d->close();
        return fail(error,
                    QStringLiteral("Access 文件 %1 不完整（文件被截断），无法读取").arg(path));
    }
    mdb_set_bind_size(d->handle, kBindSize);
    if (!mdb_read_catalog(d->handle, MDB_TABLE)) {
        d->close();
        return fail(error,
                    QStringLiteral("无法读取 Access 文件 %1 的表目录，文件可能已损坏").arg(path));
    }
    return true;
}

bool AccessFile::isOpen() const
{
    return d->handle != nullptr;
}

int AccessFile::jetVersion() const
{
    if (!d->handle)
        return 0;
    return d->handle->f->jet_version == MDB_VER_JET3 ? 3 : 4;
}

QStringList AccessFile::tableNames() const
{
    QStringList names;
    if (!d->handle)
        return names;
    for (guint i = 0; i < d->handle->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(d->handle->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names.append(QString::fromUtf8(entry->object_name));
    }
    return names;
}

std::unique_ptr<AccessTable> AccessFile::openTable(const QString& name, QString* error)
{
    if (!d->handle) {
        fail(error, QStringLiteral("Access 文件没有打开"));
        return nullptr;
    }
    QByteArray utf8 = name.toUtf8();
    auto p = std::make_unique<AccessTablePrivate>();
    p->handle = d->handle;
    p->name = name;
    p->table = mdb_read_table_by_name(d->handle, utf8.data(), MDB_TABLE);
    if (!p->table || !mdb_read_columns(p->table)) {
        fail(error, QStringLiteral("无法读取表 %1 的定义").arg(name));
        return nullptr;
    }
    for (guint i = 0; i < p->table->num_cols; ++i) {
        MdbColumn* column = p->column(int(i));
        p->columns.append({QString::fromUtf8(column->name), kindOf(column->col_type)});
        char* buffer = nullptr;
        if (column->col_type == MDB_BOOL || column->col_type == MDB_OLE) {
            buffer = static_cast<char*>(g_malloc0(kBindSize));
            p->buffers.append(buffer);
        }
        p->bound.append(buffer);
        p->boundLength.append(0);
    }
    for (int i = 0; i < p->columns.size(); ++i)
        if (p->bound[i])
            mdb_bind_column(p->table, i + 1, p->bound[i], &p->boundLength[i]);
    mdb_rewind_table(p->table);
    return std::unique_ptr<AccessTable>(new AccessTable(std::move(p)));
}

} // namespace mv
