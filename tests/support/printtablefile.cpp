#include "support/printtablefile.h"

#include "print/tablefile.h"

#include <QSaveFile>

namespace mv::test {

bool savePrintTableFile(const PrintTable& table, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(savePrintTable(table)) < 0 ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace mv::test
