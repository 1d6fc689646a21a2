// The Excel 97-2003 writer: BIFF8 records of our own in the "Workbook" stream of an OLE2
// compound file written by libgsf. Every cell is a text cell (format "@") referring to the
// shared string table.

// glib's headers first: they use names that Qt defines as macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>

#include "common/replacementfile.h"
#include "common/systemerror.h"
#include "exchange/workbook/biffrecords.h"
#include "exchange/workbook/workbookwriter.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// A key of the shared string table: a view of the text with its hash, so that a lookup
// compares characters only with the texts of the same hash.
struct TextKey
{
    QStringView text;
    size_t hash;
    friend bool operator==(const TextKey& a, const TextKey& b) noexcept
    {
        return a.hash == b.hash && a.text == b.text;
    }
};

size_t qHash(const TextKey& key, size_t seed) noexcept
{
    return key.hash ^ seed;
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
        // The row's LABELSST records are made in place at the end of the sheet's cells,
        // which then keep only the records of the cells that are not empty.
        constexpr qsizetype kRecordSize = 14;
        const qsizetype start = sheet.cells.size();
        sheet.cells.resize(start + cells.size() * kRecordSize);
        char* record = sheet.cells.data() + start;
        const quint16 row = quint16(sheet.rows);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString& text = cells.at(c);
            if (text.isEmpty())
                continue;
            if (text.size() > kXlsMaxCellLength) {
                sheet.cells.resize(start);
                return fail(
                    QStringLiteral("单元格文字超过 %1 个字符的上限").arg(kXlsMaxCellLength));
            }
            const quint32 index = stringIndex(text);
            // Type, body length 10, row, column, format, string index.
            const char fields[kRecordSize] = {char(LabelSst & 0xFF),
                                              char(LabelSst >> 8),
                                              10,
                                              0,
                                              char(row & 0xFF),
                                              char(row >> 8),
                                              char(c & 0xFF),
                                              char(c >> 8),
                                              char(kTextXf),
                                              0,
                                              char(index & 0xFF),
                                              char((index >> 8) & 0xFF),
                                              char((index >> 16) & 0xFF),
                                              char(index >> 24)};
            std::memcpy(record, fields, kRecordSize);
            record += kRecordSize;
            ++m_cellCount;
        }
        sheet.cells.resize(record - sheet.cells.constData());
        sheet.columns = std::max(sheet.columns, int(cells.size()));
        ++sheet.rows;
        return true;
    }

    bool finish() override
    {
        if (m_sheets.isEmpty())
            return fail(QStringLiteral("工作簿中没有工作表"));
        // The sheets' cell records go to the compound file as they are, after the globals
        // and each sheet's leading records: the workbook stream is never copied whole.
        QList<QByteArray> heads;
        QList<QByteArray> tails;
        qint64 sheetBytes = 0;
        for (qsizetype i = 0; i < m_sheets.size(); ++i) {
            heads.append(sheetHead(m_sheets.at(i)));
            tails.append(sheetTail(i == 0));
            sheetBytes += heads.last().size() + m_sheets.at(i).cells.size() + tails.last().size();
        }
        QByteArray globals = globalsStream(heads, tails);
        // Excel reads the workbook stream only from regular sectors: a stream shorter than
        // 4096 bytes would go to the small-block store, so pad it past its last EOF.
        const QByteArray padding(std::max<qint64>(0, 4096 - globals.size() - sheetBytes), '\0');
        QList<const QByteArray*> pieces{&globals};
        for (qsizetype i = 0; i < m_sheets.size(); ++i)
            pieces << &heads.at(i) << &m_sheets.at(i).cells << &tails.at(i);
        pieces << &padding;
        return compoundFile(pieces) ||
               fail(QStringLiteral("无法写入文件 %1：%2")
                        .arg(QDir::toNativeSeparators(m_path), m_saveError));
    }

private:
    quint32 stringIndex(const QString& text)
    {
        const size_t hash = qHash(QStringView(text));
        const auto found = m_stringIndex.constFind(TextKey{text, hash});
        if (found != m_stringIndex.constEnd())
            return found.value();
        const quint32 index = quint32(m_strings.size());
        m_strings.append(text);
        // The key views the characters of the copy kept in m_strings, which never change.
        m_stringIndex.insert(TextKey{m_strings.constLast(), hash}, index);
        return index;
    }

    // The workbook globals, with each sheet's position worked out from the sizes of the
    // sheets before it.
    QByteArray globalsStream(const QList<QByteArray>& heads, const QList<QByteArray>& tails) const
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
        appendSharedStrings(out, 0, m_cellCount, m_strings); // out is the stream from its start
        appendRecord(out, Eof, {});

        qint64 position = out.size();
        for (qsizetype i = 0; i < m_sheets.size(); ++i) {
            patch32(out, positionFields.at(i), quint32(position));
            position += heads.at(i).size() + m_sheets.at(i).cells.size() + tails.at(i).size();
        }
        return out;
    }

    static QByteArray sheetHead(const Sheet& sheet)
    {
        QByteArray out;
        appendRecord(out, Bof, bofBody(0x0010));
        QByteArray dimensions;
        put32(dimensions, 0);
        put32(dimensions, quint32(sheet.rows));
        put16(dimensions, 0);
        put16(dimensions, quint16(sheet.columns));
        put16(dimensions, 0);
        appendRecord(out, Dimensions, dimensions);
        return out;
    }

    static QByteArray sheetTail(bool selected)
    {
        QByteArray out;
        appendRecord(out, Window2, window2Body(selected));
        appendRecord(out, Eof, {});
        return out;
    }

    // Writes the stream made of pieces as the "Workbook" of a compound file, under a fresh
    // name beside the target that replaces the target only once complete.
    bool compoundFile(const QList<const QByteArray*>& pieces)
    {
        ReplacementFile file(m_path);
        if (!file.create(&m_saveError))
            return false;
        FILE* stream = std::fopen(QFile::encodeName(file.temporaryPath()).constData(), "wb");
        if (!stream) {
            m_saveError = systemErrorText(errno);
            return false;
        }
        GsfOutput* sink = gsf_output_stdio_new_FILE(
            QFile::encodeName(file.temporaryPath()).constData(), stream, TRUE);
        GsfOutfile* ole = sink ? gsf_outfile_msole_new(sink) : nullptr;
        bool ok = ole != nullptr;
        if (ok) {
            GsfOutput* workbook = gsf_outfile_new_child(ole, "Workbook", FALSE);
            ok = workbook != nullptr;
            for (const QByteArray* piece : pieces)
                ok = ok && (piece->isEmpty() ||
                            gsf_output_write(workbook, size_t(piece->size()),
                                             reinterpret_cast<const guint8*>(piece->constData())));
            if (workbook) {
                ok = gsf_output_close(workbook) && ok;
                g_object_unref(workbook);
            }
            ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
            g_object_unref(ole);
        }
        if (sink) {
            if (!gsf_output_is_closed(sink)) // closing the compound file closes it as well
                ok = gsf_output_close(sink) && ok;
            g_object_unref(sink);
        }
        if (std::fclose(stream) != 0) { // the last buffered bytes did not fit
            m_saveError = systemErrorText(errno);
            return false;
        }
        if (!ok) {
            m_saveError = QStringLiteral("无法生成 Excel 文件结构");
            return false;
        }
        return file.commit(&m_saveError);
    }

    QString m_path;
    QList<Sheet> m_sheets;
    QList<QString> m_strings;
    QHash<TextKey, quint32> m_stringIndex;
    quint32 m_cellCount = 0;
    QString m_saveError;
};

} // namespace

std::unique_ptr<WorkbookWriter> createXlsWriter(const QString& path)
{
    return std::make_unique<XlsWriter>(path);
}

} // namespace mv
