#include "documents/document.h"

#include <algorithm>

namespace mv {

QString lineDirection(DocumentKind kind)
{
    return kind == DocumentKind::Receipt ? QStringLiteral("入库") : QStringLiteral("出库");
}

QString headerDirection(DocumentKind kind)
{
    return kind == DocumentKind::Receipt ? QStringLiteral("入") : QStringLiteral("出");
}

int storedColumnCount(DocumentKind kind)
{
    return kind == DocumentKind::Receipt ? 6 : 5;
}

bool DocumentLine::isBlank() const
{
    return std::all_of(cells.begin(), cells.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

Document withoutBlankLines(Document document)
{
    document.lines.removeIf([](const DocumentLine& line) { return line.isBlank(); });
    return document;
}

} // namespace mv
