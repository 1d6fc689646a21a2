#pragma once
// The page settings record of a print table (19 members: 18 numbers and one text), the
// eight papers and the page sizes they give.

#include <QSizeF>
#include <QString>

namespace mv {

struct PageSettings
{
    int paper = 1;        // 1: paper index 0..7
    int orientation = 0;  // 2: 0 portrait, 1 landscape
    int marginLeft = 180; // 3..6, 0.1 mm
    int marginTop = 180;
    int marginRight = 180;
    int marginBottom = 180;
    int pageNumberPosition = 0; // 7: 0 none, 1..3 top left/centre/right, 4..6 bottom
    int headerMargin = 60;      // 8: distance of a top page number from the page edge
    int footerMargin = 60;      // 9: distance of a bottom page number from the page edge
    int firstPageNumber = 1;    // 10
    int copies = 1;             // 11
    int reserved12 = 0;         // 12..16: kept for templates, unused
    int reserved13 = 0;
    int reserved14 = 0;
    int reserved15 = 0;
    int reserved16 = 0;
    QString documentName; // 17: the print job's name
    int rowsPerPage = 0;  // 18: 0 automatic
    int scale = 100;      // 19: percent, -1 fit the page width

    bool operator==(const PageSettings&) const = default;
};

inline constexpr int kPaperCount = 8;
// The margins a report is printed with, in 0.1 mm.
inline constexpr int kReportMargin = 180;
inline constexpr int kPageNumberPositions = 7;

// The paper's caption as the settings window lists it.
QString paperCaption(int paper);
// Width x height in millimetres, portrait; an index out of range gives A4.
QSizeF paperSizeMm(int paper);
// The page in 0.1 mm for a paper and orientation.
QSizeF pageSizeTenthsMm(int paper, int orientation);

// The room a table is printed in at scale 100, in 0.1 mm: the record's sheet less its
// margins. The report layout (width check, centring, rows per page) and the renderer
// (fit to width, page breaks) all measure with these.
int printableWidth(const PageSettings& page);
int printableHeight(const PageSettings& page);
// The table's zoom on paper: 1 at scale 100 (or any other positive scale in percent);
// with scale -1, the fit of a wider table into the printable width.
double printZoom(const PageSettings& page, int tableWidth);

} // namespace mv
