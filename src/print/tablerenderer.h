#pragma once
// Paints a print table on any paged device (printer, PDF): paper and orientation from the
// page record, margins, scale 100 or fit-to-width, fixed rows repeated at the top of every
// page, page breaks, page numbers, merges, fonts, colours and border lines.

#include <QList>
#include <QString>

class QPagedPaintDevice;
class QPageLayout;

namespace mv {

class PrintTable;

struct PageRows
{
    int first = 0; // first body row on the page (after the fixed rows)
    int last = -1; // last body row; last < first: a page of fixed rows only
};

// Splits the body rows into pages: a page ends after a row marked as page break, when the
// next row would not fit the page, or (in a table without marked breaks) after the record's
// rows per page.
QList<PageRows> planPages(const PrintTable& table);

// The page of the record's paper and orientation, without margins of its own.
QPageLayout printPageLayout(const PrintTable& table);

// Sets the device's page from the record and paints every page.
bool renderPrintTable(const PrintTable& table, QPagedPaintDevice& device, QString* error = nullptr);
// Renders the table into a PDF file, which replaces the file at path only once it is whole.
bool renderPrintTableToPdf(const PrintTable& table, const QString& path, QString* error = nullptr);

} // namespace mv
