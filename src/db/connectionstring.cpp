#include "db/builders.h"

namespace mv {

QString odbcConnectionString(const QString& path, const QString& userId, const QString& password)
{
    QString text = QLatin1String("ODBC;DBQ=") + path;
    const qsizetype lastBackslash = path.lastIndexOf(u'\\');
    if (lastBackslash >= 0)
        text += QLatin1String(";DefaultDir=") + path.left(lastBackslash);
    text += QLatin1String(";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access");
    if (!userId.isEmpty())
        text += QLatin1String(";UID=") + userId;
    if (!password.isEmpty())
        text += QLatin1String(";PWD=") + password;
    text += u';';
    return text;
}

} // namespace mv
