// The Excel 97-2003 writer: BIFF8 records of our own in the "Workbook" stream of an OLE2
// compound file written by libgsf. Every cell is a text cell (format "@") referring to the
// shared string table.

// glib's headers first: they use names that Qt defines as macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

#include "data/biffrecords.h"
#include "data/workbookwriter.h"

#include <QDir>
#include <QHash>
#include <QSaveFile>

namespace mv {

namespace {

using namespace biff;

constexpr int kXlsMaxRows = 65536;
constexpr int kXlsMaxColumns = 256;
constexpr int kXlsMaxCellLength = 32767;
// Cell formats: XF 15 is the default cell format, XF 16 the text cells.
constexpr quint16 kTextXf = 16;
constexpr quint16 kTextFormat = 49; // built-in number format "@"

QByteArray bofBody(quint16 substreamType)
{
    QByteArray body;
    put16(body, 0x0600); // BIFF8
    put16(body, substreamType);
    put16(body, 0x0DBB); // build
    put16(body, 0x07CC); // year
    put32(body, 0);
    put32(body, 0x0006);
    return body;
}

QByteArray fontBody()
{
    QByteArray body;
    put16(body, 220);        // 11 points, in twips
    put16(body, 0);          // no bold/italic flags
    put16(body, 0x7FFF);     // automatic colour
    put16(body, 400);        // normal weight
    put16(body, 0);          // no super/subscript
    body.append(char(0));    // no underline
    body.append(char(0));    // family
    body.append(char(0x86)); // GB2312 character set
    body.append(char(0));
    body.append(shortString(QStringLiteral("宋体")));
    return body;
}

QByteArray xfBody(quint16 format, bool style)
{
    QByteArray body;
    put16(body, 0);                       // font 0
    put16(body, format);                  // number format
    put16(body, style ? 0xFFF5 : 0x0001); // locked; styles have no parent, cells parent style 0
    body.append(char(0x20));              // bottom-aligned
    body.append(char(0));                 // no rotation
    body.append(char(0));                 // no indent
    body.append(char(style ? 0xF4 : (format ? 0x04 : 0x00))); // attributes set here
    put32(body, 0);                                           // no borders
    put32(body, 0);
    put16(body, 0x20C0); // automatic pattern colours
    return body;
}

QByteArray window1Body()
{
    QByteArray body;
    for (quint16 v : {0x01E0, 0x005A, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 0x0258})
        put16(body, v);
    return body;
}

QByteArray window2Body(bool selected)
{
    QByteArray body;
    put16(body, selected ? 0x06B6 : 0x04B6); // gridlines, headers, zeros, outline; selected
    put16(body, 0);                          // top row
    put16(body, 0);                          // left column
    put16(body, 0x40);
    put16(body, 0);
    put16(body, 0);
    put16(body, 0);
    put32(body, 0);
    return body;
}

struct Sheet
{
    QString name;
    QByteArray cells; // LABELSST records
    int rows = 0;
    int columns = 0;
};

class XlsWriter final : public WorkbookWriter
{
public:
    explicit XlsWriter(const QString& path) : m_path(path) {}

    int maxRows() const override { return kXlsMaxRows; }
    int maxColumns() const override { return kXlsMaxColumns; }
    int maxCellLength() const override { return kXlsMaxCellLength; }

    bool beginSheet(const QString& name) override
    {
        const QString problem = sheetNameProblem(name);
        if (!problem.isEmpty())
            return fail(problem);
        for (const Sheet& sheet : m_sheets)
            if (sheet.name.compare(name, Qt::CaseInsensitive) == 0)
                return fail(QStringLiteral("工作表名“%1”重复").arg(name));
        m_sheets.append(Sheet{name, {}, 0, 0});
        return true;
    }

    bool addRow(const QStringList& cells) override
    {
        if (m_sheets.isEmpty())
            return fail(QStringLiteral("尚未开始工作表"));
        Sheet& sheet = m_sheets.last();
        if (sheet.rows >= kXlsMaxRows)
            return fail(
                QStringLiteral("工作表“%1”已达 %2 行的上限").arg(sheet.name).arg(kXlsMaxRows));
        if (cells.size() > kXlsMaxColumns)
            return fail(QStringLiteral("列数超过 %1 列的上限").arg(kXlsMaxColumns));
        const quint16 row = quint16(sheet.rows);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString& text = cells.at(c);
            if (text.isEmpty())
                continue;
            if (text.size() > kXlsMaxCellLength)
                return fail(
                    QStringLiteral("单元格文字超过 %1 个字符的上限").arg(kXlsMaxCellLength));
            put16(sheet.cells, LabelSst);
            put16(sheet.cells, 10);
            put16(sheet.cells, row);
            put16(sheet.cells, quint16(c));
            put16(sheet.cells, kTextXf);
            put32(sheet.cells, stringIndex(text));
            ++m_cellCount;
        }
        sheet.columns = std::max(sheet.columns, int(cells.size()));
        ++sheet.rows;
        return true;
    }

    bool finish() override
    {
        if (m_sheets.isEmpty())
            return fail(QStringLiteral("工作簿中没有工作表"));
        const QByteArray stream = workbookStream();
        QByteArray file;
        if (!compoundFile(stream, file))
            return fail(QStringLiteral("无法生成 Excel 文件结构"));
        QSaveFile out(m_path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.commit())
            return fail(QStringLiteral("无法写入文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_path), out.errorString()));
        return true;
    }

private:
    quint32 stringIndex(const QString& text)
    {
        const auto found = m_stringIndex.constFind(text);
        if (found != m_stringIndex.constEnd())
            return found.value();
        const quint32 index = quint32(m_strings.size());
        m_strings.append(text);
        m_stringIndex.insert(text, index);
        return index;
    }

    QByteArray workbookStream() const
    {
        QByteArray out;
        appendRecord(out, Bof, bofBody(0x0005));
        QByteArray codePage;
        put16(codePage, 1200); // UTF-16 strings
        appendRecord(out, CodePage, codePage);
        appendRecord(out, Window1, window1Body());
        for (int i = 0; i < 5; ++i) // Excel skips font index 4 and expects it present
            appendRecord(out, Font, fontBody());
        for (int i = 0; i < 15; ++i)
            appendRecord(out, Xf, xfBody(0, true));
        appendRecord(out, Xf, xfBody(0, false));
        appendRecord(out, Xf, xfBody(kTextFormat, false));
        QByteArray style;
        put16(style, 0x8000);  // built-in style on XF 0
        style.append(char(0)); // "Normal"
        style.append(char(char(0xFF)));
        appendRecord(out, Style, style);

        QList<qsizetype> positionFields;
        for (const Sheet& sheet : m_sheets) {
            QByteArray body;
            put32(body, 0);       // stream position of the sheet, patched below
            body.append(char(0)); // visible
            body.append(char(0)); // worksheet
            body.append(shortString(sheet.name));
            positionFields.append(out.size() + 4);
            appendRecord(out, BoundSheet, body);
        }
        appendSharedStrings(out, out.size(), m_cellCount, m_strings);
        appendRecord(out, Eof, {});

        for (qsizetype i = 0; i < m_sheets.size(); ++i) {
            patch32(out, positionFields.at(i), quint32(out.size()));
            appendSheet(out, m_sheets.at(i), i == 0);
        }
        // Excel reads the workbook stream only from regular sectors: a stream shorter than
        // 4096 bytes would go to the small-block store, so pad it past its last EOF.
        if (out.size() < 4096)
            out.append(QByteArray(4096 - out.size(), '\0'));
        return out;
    }

    static void appendSheet(QByteArray& out, const Sheet& sheet, bool selected)
    {
        appendRecord(out, Bof, bofBody(0x0010));
        QByteArray dimensions;
        put32(dimensions, 0);
        put32(dimensions, quint32(sheet.rows));
        put16(dimensions, 0);
        put16(dimensions, quint16(sheet.columns));
        put16(dimensions, 0);
        appendRecord(out, Dimensions, dimensions);
        out.append(sheet.cells);
        appendRecord(out, Window2, window2Body(selected));
        appendRecord(out, Eof, {});
    }

    static bool compoundFile(const QByteArray& stream, QByteArray& file)
    {
        GsfOutput* memory = gsf_output_memory_new();
        GsfOutfile* ole = gsf_outfile_msole_new(memory);
        bool ok = ole != nullptr;
        if (ok) {
            GsfOutput* workbook = gsf_outfile_new_child(ole, "Workbook", FALSE);
            ok = workbook && gsf_output_write(workbook, size_t(stream.size()),
                                              reinterpret_cast<const guint8*>(stream.constData()));
            if (workbook) {
                ok = gsf_output_close(workbook) && ok;
                g_object_unref(workbook);
            }
            ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
            g_object_unref(ole);
        }
        if (ok) {
            const auto size = gsf_output_size(memory);
            const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
            file = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
        }
        if (!gsf_output_is_closed(memory)) // closing the compound file closes it as well
            gsf_output_close(memory);
        g_object_unref(memory);
        return ok;
    }

    QString m_path;
    QList<Sheet> m_sheets;
    QList<QString> m_strings;
    QHash<QString, quint32> m_stringIndex;
    quint32 m_cellCount = 0;
};

} // namespace

std::unique_ptr<WorkbookWriter> createXlsWriter(const QString& path)
{
    return std::make_unique<XlsWriter>(path);
}

} // namespace mv
