#include "documents/documentnumber.h"

#include "common/texts.h"

#include <algorithm>

namespace mv {

QString nextDocumentNumber(const QString& shown)
{
    const QString digits = QString::number(qint64(toInteger(shown)) + 1);
    return QString(std::max<qsizetype>(0, 8 - digits.size()), u'0') + digits;
}

QString typedDocumentNumber(const QString& typed, const QStringList& stored)
{
    if (stored.contains(typed))
        return typed;
    const bool digits =
        !typed.isEmpty() && typed.size() < 8 &&
        std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const QString padded = QString(8 - typed.size(), u'0') + typed;
    return digits && stored.contains(padded) ? padded : QString();
}

} // namespace mv
