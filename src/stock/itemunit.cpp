#include "stock/itemunit.h"

#include "db/connection.h"

namespace mv {

QString soleItemUnit(Connection& connection, const QString& name, const QString& model)
{
    const Dialect& dialect = connection.dialect();
    // Two distinct units are enough to know there is no single one.
    std::unique_ptr<ResultSet> units = connection.query(
        u"SELECT DISTINCT 单位 FROM yclnote WHERE "_qs + dialect.itemEquals(u"原材料名字"_qs) +
            u" AND "_qs + dialect.itemEquals(u"型号"_qs) + u" AND 单位 <> '' LIMIT 2"_qs,
        {name, model}, true);
    if (!units || units->eof())
        return {};
    const QString unit = units->field(0);
    units->next();
    return units->eof() ? unit : QString();
}

} // namespace mv
