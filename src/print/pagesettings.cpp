#include "print/pagesettings.h"

#include <array>

namespace mv {

namespace {

struct Paper
{
    const char16_t* caption;
    double width;
    double height;
};

constexpr std::array<Paper, kPaperCount> kPapers{{
    {u"A3纸(297x420毫米)", 297, 420},
    {u"A4纸(210x297毫米)", 210, 297},
    {u"A5纸(148x210毫米)", 148, 210},
    {u"B4纸(250x354毫米)", 250, 354},
    {u"B5纸(182x257毫米)", 182, 257},
    {u"四开(215x275毫米)", 215, 275},
    {u"十六开(146x215毫米)", 146, 215},
    {u"三十二开(97x151毫米)", 97, 151},
}};

const Paper& paperAt(int paper)
{
    return kPapers[paper >= 0 && paper < kPaperCount ? paper : 1];
}

} // namespace

QString paperCaption(int paper)
{
    if (paper < 0 || paper >= kPaperCount)
        return {};
    return QString::fromUtf16(kPapers[paper].caption);
}

QSizeF paperSizeMm(int paper)
{
    const Paper& p = paperAt(paper);
    return {p.width, p.height};
}

QSizeF pageSizeTenthsMm(int paper, int orientation)
{
    const QSizeF mm = paperSizeMm(paper) * 10.0;
    return orientation == 1 ? mm.transposed() : mm;
}

int printableWidth(const PageSettings& page)
{
    return int(pageSizeTenthsMm(page.paper, page.orientation).width()) - page.marginLeft -
           page.marginRight;
}

int printableHeight(const PageSettings& page)
{
    return int(pageSizeTenthsMm(page.paper, page.orientation).height()) - page.marginTop -
           page.marginBottom;
}

double printZoom(const PageSettings& page, int tableWidth)
{
    if (page.scale == -1) {
        const int room = printableWidth(page);
        return tableWidth > room && tableWidth > 0 && room > 0 ? double(room) / tableWidth : 1.0;
    }
    return page.scale > 0 ? page.scale / 100.0 : 1.0;
}

} // namespace mv
