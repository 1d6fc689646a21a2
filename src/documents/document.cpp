#include "documents/document.h"

#include <algorithm>

namespace mv {

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
