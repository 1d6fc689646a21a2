#include "exchange/workbook/biffrecords.h"

#include <algorithm>

namespace mv::biff {

namespace {

// True when every character fits one byte: the string is stored 8 bits per character.
bool fitsOneByte(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x100; });
}

void appendChars(QByteArray& out, const QChar* chars, qsizetype count, bool wide)
{
    const qsizetype at = out.size();
    out.resize(at + count * (wide ? 2 : 1));
    char* to = out.data() + at;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t c = chars[i].unicode();
        *to++ = char(c & 0xFF);
        if (wide)
            *to++ = char(c >> 8);
    }
}

// Builds SST/CONTINUE records; strings never split their header, and a string that runs
// over a record boundary goes on in a CONTINUE record after a fresh option byte.
class SstBuilder
{
public:
    SstBuilder(QByteArray& out, qint64 streamOffset) : m_out(out), m_streamOffset(streamOffset) {}

    void begin(quint32 total, quint32 unique)
    {
        m_type = Sst;
        put32(m_body, total);
        put32(m_body, unique);
    }

    // Where the next string starts: absolute stream position and offset in its record.
    void position(quint32& streamPosition, quint16& recordOffset) const
    {
        streamPosition = quint32(m_streamOffset + m_out.size() + 4 + m_body.size());
        recordOffset = quint16(4 + m_body.size());
    }

    void reserveForHeader(int charBytes, bool empty)
    {
        if (free() < 3 + (empty ? 0 : charBytes))
            flush();
    }

    void addString(const QString& text)
    {
        const bool wide = !fitsOneByte(text);
        const int charBytes = wide ? 2 : 1;
        reserveForHeader(charBytes, text.isEmpty());
        put16(m_body, quint16(text.size()));
        m_body.append(char(wide ? 1 : 0));
        const QChar* chars = text.constData();
        qsizetype left = text.size();
        while (left > 0) {
            const qsizetype n = std::min<qsizetype>(left, free() / charBytes);
            appendChars(m_body, chars, n, wide);
            chars += n;
            left -= n;
            if (left > 0) {
                flush();
                m_body.append(char(wide ? 1 : 0));
            }
        }
    }

    void flush()
    {
        appendRecord(m_out, m_type, m_body);
        m_body.clear();
        m_type = Continue;
    }

private:
    int free() const { return kMaxRecordBody - int(m_body.size()); }

    QByteArray& m_out;
    qint64 m_streamOffset;
    QByteArray m_body;
    quint16 m_type = Sst;
};

} // namespace

void patch32(QByteArray& out, qsizetype offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out[offset + i] = char((v >> (8 * i)) & 0xFF);
}

void appendRecord(QByteArray& out, quint16 type, const QByteArray& body)
{
    put16(out, type);
    put16(out, quint16(body.size()));
    out.append(body);
}

QByteArray shortString(const QString& text)
{
    QByteArray out;
    const bool wide = !fitsOneByte(text);
    out.append(char(text.size()));
    out.append(char(wide ? 1 : 0));
    appendChars(out, text.constData(), text.size(), wide);
    return out;
}

void appendSharedStrings(QByteArray& out, qint64 streamOffset, quint32 total,
                         const QList<QString>& strings)
{
    const quint32 unique = quint32(strings.size());
    // The index keeps one entry per bucket of dsst strings, at most 128 buckets.
    const quint16 dsst = quint16(std::max<quint32>(8, unique / 128 + 1));
    QByteArray index;
    put16(index, dsst);

    SstBuilder sst(out, streamOffset);
    sst.begin(total, unique);
    for (quint32 i = 0; i < unique; ++i) {
        const QString& text = strings.at(i);
        if (i % dsst == 0) {
            // The index points at the string's header, so make room for it first.
            sst.reserveForHeader(fitsOneByte(text) ? 1 : 2, text.isEmpty());
            quint32 streamPosition = 0;
            quint16 recordOffset = 0;
            sst.position(streamPosition, recordOffset);
            put32(index, streamPosition);
            put16(index, recordOffset);
            put16(index, 0);
        }
        sst.addString(text);
    }
    sst.flush();
    appendRecord(out, ExtSst, index);
}

} // namespace mv::biff
