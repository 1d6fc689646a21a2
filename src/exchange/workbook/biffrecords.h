#pragma once
// BIFF8 records (the record layer of Excel 97-2003 workbooks): little-endian fields, record
// headers, Unicode strings and the shared string table with its CONTINUE records and index.

#include <QByteArray>
#include <QList>
#include <QString>

namespace mv::biff {

// Record types this program writes.
enum RecordType : quint16
{
    Bof = 0x0809,
    Eof = 0x000A,
    CodePage = 0x0042,
    Window1 = 0x003D,
    Font = 0x0031,
    Xf = 0x00E0,
    Style = 0x0293,
    BoundSheet = 0x0085,
    Sst = 0x00FC,
    Continue = 0x003C,
    ExtSst = 0x00FF,
    Dimensions = 0x0200,
    LabelSst = 0x00FD,
    Window2 = 0x023E,
};

// The largest record body the format allows.
inline constexpr int kMaxRecordBody = 8224;

inline void put16(QByteArray& out, quint16 v)
{
    const char bytes[2] = {char(v & 0xFF), char(v >> 8)};
    out.append(bytes, 2);
}

inline void put32(QByteArray& out, quint32 v)
{
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char(v >> 24)};
    out.append(bytes, 4);
}

// Overwrites four bytes at offset.
void patch32(QByteArray& out, qsizetype offset, quint32 v);

// Appends one record: header (type, body length) and body.
void appendRecord(QByteArray& out, quint16 type, const QByteArray& body);

// A string with an 8-bit character count (sheet and font names): count, option byte, chars.
QByteArray shortString(const QString& text);

// Appends the SST record (with as many CONTINUE records as the strings need) and the EXTSST
// index that follows it. streamOffset is the position of out's first byte in the stream;
// total is the number of cells that refer to the table.
void appendSharedStrings(QByteArray& out, qint64 streamOffset, quint32 total,
                         const QList<QString>& strings);

} // namespace mv::biff
