#include "cli/tableoutput.h"

#include "cli/command.h"

#include "common/reportlistmodel.h"

#include <functional>

namespace mv::cli {

namespace {

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

QString cell(const QStringList& row, qsizetype column)
{
    return column < row.size() ? row.at(column) : QString();
}

// Hands the output out in pieces of about 64 KB, so a long list is never held twice.
class Sink
{
public:
    explicit Sink(std::function<void(const QByteArray&)> write) : m_write(std::move(write)) {}
    ~Sink() { flush(); }
    void add(const QString& text)
    {
        m_buffer += text.toUtf8();
        if (m_buffer.size() >= 65536)
            flush();
    }
    void flush()
    {
        if (!m_buffer.isEmpty())
            m_write(m_buffer);
        m_buffer.clear();
    }

private:
    std::function<void(const QByteArray&)> m_write;
    QByteArray m_buffer;
};

void writeTable(Sink& sink, const QList<ReportColumn>& columns, const QList<QStringList>& rows)
{
    QList<int> widths;
    for (const ReportColumn& column : columns)
        widths.append(displayWidth(column.title));
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < columns.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(cell(row, c)));
    const auto line = [&](const std::function<QString(qsizetype)>& text) {
        QString out;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const QString value = text(c);
            const QString pad(widths[c] - displayWidth(value), QLatin1Char(' '));
            const bool right = columns.at(c).alignment & Qt::AlignRight;
            if (c > 0)
                out += QStringLiteral("  ");
            out += right ? pad + value : value + pad;
        }
        // No blanks at the end of a line (an empty last column leaves nothing there).
        qsizetype end = out.size();
        while (end > 0 && out.at(end - 1) == QLatin1Char(' '))
            --end;
        out.truncate(end);
        sink.add(out + QLatin1Char('\n'));
    };
    line([&](qsizetype c) { return columns.at(c).title; });
    for (const QStringList& row : rows)
        line([&](qsizetype c) { return cell(row, c); });
}

void writeCsv(Sink& sink, const QList<ReportColumn>& columns, const QList<QStringList>& rows)
{
    const auto line = [&](const std::function<QString(qsizetype)>& text) {
        QString out;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c > 0)
                out += QLatin1Char(',');
            out += csvCell(text(c));
        }
        sink.add(out + QStringLiteral("\r\n"));
    };
    line([&](qsizetype c) { return columns.at(c).title; });
    for (const QStringList& row : rows)
        line([&](qsizetype c) { return cell(row, c); });
}

void writeJson(Sink& sink, const QList<ReportColumn>& columns, const QList<QStringList>& rows)
{
    QStringList keys;
    for (const ReportColumn& column : columns)
        keys.append(jsonString(column.title) + QLatin1Char(':'));
    sink.add(QStringLiteral("["));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QString out = r > 0 ? QStringLiteral(",\n{") : QStringLiteral("\n{");
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c > 0)
                out += QLatin1Char(',');
            out += keys.at(c) + jsonString(cell(rows.at(r), c));
        }
        sink.add(out + QLatin1Char('}'));
    }
    sink.add(QStringLiteral("\n]\n"));
}

void write(Sink& sink, OutputFormat format, const QList<ReportColumn>& columns,
           const QList<QStringList>& rows)
{
    switch (format) {
    case OutputFormat::Table:
        writeTable(sink, columns, rows);
        break;
    case OutputFormat::Csv:
        writeCsv(sink, columns, rows);
        break;
    case OutputFormat::Json:
        writeJson(sink, columns, rows);
        break;
    }
}

} // namespace

bool parseOutputFormat(const QString& name, OutputFormat* format)
{
    if (name == u"table")
        *format = OutputFormat::Table;
    else if (name == u"csv")
        *format = OutputFormat::Csv;
    else if (name == u"json")
        *format = OutputFormat::Json;
    else
        return false;
    return true;
}

int displayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += isWide(c) ? 2 : 1;
    return width;
}

QString csvCell(const QString& text)
{
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                       text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString spreadsheetText(const QString& text)
{
    // One character alone ("-" for no model) is no formula.
    if (text.size() < 2 || !QStringView(u"=+-@").contains(text.front()))
        return text;
    bool number = false;
    text.toDouble(&number);
    return number ? text : QLatin1Char('\'') + text;
}

QString jsonString(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

bool writeList(std::FILE* out, OutputFormat format, const QList<ReportColumn>& columns,
               const QList<QStringList>& rows)
{
    Sink sink([out](const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    });
    write(sink, format, columns, rows);
    sink.flush();
    return std::fflush(out) == 0 && !std::ferror(out);
}

int printList(OutputFormat format, const QList<ReportColumn>& columns,
              const QList<QStringList>& rows)
{
    if (writeList(stdout, format, columns, rows))
        return ExitDone;
    return refuse(u"无法写出结果（磁盘空间可能已满）。"_qs);
}

QByteArray formatList(OutputFormat format, const QList<ReportColumn>& columns,
                      const QList<QStringList>& rows)
{
    QByteArray all;
    {
        Sink sink([&all](const QByteArray& bytes) { all += bytes; });
        write(sink, format, columns, rows);
    }
    return all;
}

} // namespace mv::cli
