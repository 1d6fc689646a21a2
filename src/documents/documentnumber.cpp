#include "documents/documentnumber.h"

#include "common/texts.h"

namespace mv {

QString nextDocumentNumber(const QString& shown)
{
    const QString digits = QString::number(qint64(toInteger(shown)) + 1);
    return QString(std::max<qsizetype>(0, 8 - digits.size()), u'0') + digits;
}

} // namespace mv
