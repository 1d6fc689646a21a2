#include "data/dialect.h"

namespace mv {

QString Dialect::dateLiteral(const QDate& date) const
{
    if (m_backend == Access)
        return u'#' + dateValue(date) + u'#';
    return u'\'' + dateValue(date) + u'\'';
}

QString Dialect::dateValue(const QDate& date) const
{
    if (m_backend == Access)
        return QString::asprintf("%d-%d-%d", date.year(), date.month(), date.day());
    return date.toString(Qt::ISODate);
}

QString Dialect::storedOrder() const
{
    return m_backend == Sqlite ? QStringLiteral("rowid") : QString();
}

} // namespace mv
