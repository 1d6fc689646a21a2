#pragma once
// A list written for people (aligned columns), for spreadsheets (CSV) or for scripts (JSON),
// always in UTF-8.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace mv {
struct ReportColumn;
}

namespace mv::cli {

enum class OutputFormat
{
    Table, // columns padded to their widest cell; right-aligned columns stay right-aligned
    Csv,   // a header row of titles, then the rows; cells quoted where needed
    Json,  // an array of objects, one per row, keyed by the column titles, texts as strings
};

// "table", "csv" or "json"; false for anything else.
bool parseOutputFormat(const QString& name, OutputFormat* format);

// The columns a terminal gives a text: two for East Asian wide characters, one otherwise.
int displayWidth(const QString& text);

// The text of one CSV cell: quoted (quotes doubled) when it holds a comma, a quote, a line
// break or leading or trailing spaces.
QString csvCell(const QString& text);
// A cell of a CSV file meant for a spreadsheet: a text that begins with "=", "+", "-" or "@"
// and is no number gets a leading "'", so that the spreadsheet shows it rather than running
// it as a formula ("=HYPERLINK(…)" typed as a material's name); numbers ("-5") and a single
// character ("-") stay.
QString spreadsheetText(const QString& text);
// The JSON string literal of text.
QString jsonString(const QString& text);

// Writes the list with the column titles to out in the format; false when the stream
// refused it (a full disk behind it), so that a script is not told of a whole list.
bool writeList(std::FILE* out, OutputFormat format, const QList<ReportColumn>& columns,
               const QList<QStringList>& rows);
// The list written to standard output: done, or refused with the reason on standard error.
int printList(OutputFormat format, const QList<ReportColumn>& columns,
              const QList<QStringList>& rows);
// The same written into a byte array.
QByteArray formatList(OutputFormat format, const QList<ReportColumn>& columns,
                      const QList<QStringList>& rows);

} // namespace mv::cli
