#include "print/cellfont.h"

#include "print/printtable.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace mv {

QFont cellFont(const PrintTable& table, const PrintCell& cell, double unit)
{
    // Fonts tried after the cell's own, so Chinese text always has glyphs.
    static const QStringList fallbacks{QStringLiteral("WenQuanYi Micro Hei"),
                                       QStringLiteral("Noto Sans CJK SC"),
                                       QStringLiteral("SimSun")};
    QFont font;
    font.setFamilies(
        QStringList{cell.fontName.isEmpty() ? table.defaultFontName() : cell.fontName} + fallbacks);
    const int size = cell.fontSize > 0 ? cell.fontSize : table.defaultFontSize();
    font.setPixelSize(std::max(1, int(std::lround(size * unit))));
    font.setBold(cell.style & kStyleBold);
    return font;
}

} // namespace mv
