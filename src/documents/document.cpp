#include "documents/document.h"

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

} // namespace mv
