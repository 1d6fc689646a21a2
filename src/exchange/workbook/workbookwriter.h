#pragma once
// Writing one table of texts into a spreadsheet workbook: the Excel 97-2003 format (.xls) or
// Office Open XML (.xlsx), chosen by the file name. A writer collects the sheets and rows and
// writes the file only in finish(), so the file is complete or absent, and an existing file is
// replaced only once the new one is whole.

#include <QString>
#include <QStringList>
#include <memory>

namespace mv {

class WorkbookWriter
{
public:
    virtual ~WorkbookWriter() = default;

    // Limits of the format: rows per sheet (header included), columns, characters per cell.
    virtual int maxRows() const = 0;
    virtual int maxColumns() const = 0;
    virtual int maxCellLength() const = 0;

    // Starts a new sheet; the rows that follow go into it. Names are at most 31 characters
    // and hold none of []:*?/\ (sheetNameProblem tells).
    virtual bool beginSheet(const QString& name) = 0;
    // Every cell is written as text; empty texts leave the cell empty.
    virtual bool addRow(const QStringList& cells) = 0;
    // Writes the workbook to its path. On failure the path is untouched.
    virtual bool finish() = 0;

    QString errorString() const { return m_error; }

protected:
    bool fail(const QString& message)
    {
        m_error = message;
        return false;
    }

private:
    QString m_error;
};

// True when the path names an Office Open XML workbook (suffix .xlsx, any case).
bool isXlsxPath(const QString& path);

// The writer for path: .xlsx names get the Office Open XML writer, all others .xls.
std::unique_ptr<WorkbookWriter> createWorkbookWriter(const QString& path);
std::unique_ptr<WorkbookWriter> createXlsWriter(const QString& path);
std::unique_ptr<WorkbookWriter> createXlsxWriter(const QString& path);

// Why name cannot be a sheet name, or an empty text when it can.
QString sheetNameProblem(const QString& name);

} // namespace mv
