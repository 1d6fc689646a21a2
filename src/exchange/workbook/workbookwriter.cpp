#include "exchange/workbook/workbookwriter.h"

namespace mv {

bool isXlsxPath(const QString& path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

std::unique_ptr<WorkbookWriter> createWorkbookWriter(const QString& path)
{
    return isXlsxPath(path) ? createXlsxWriter(path) : createXlsWriter(path);
}

QString sheetNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("工作表名不能为空");
    if (name.size() > 31)
        return QStringLiteral("工作表名“%1”超过 31 个字符").arg(name);
    for (QChar c : QStringLiteral("[]:*?/\\"))
        if (name.contains(c))
            return QStringLiteral("工作表名“%1”含有不允许的字符 %2").arg(name, c);
    return {};
}

} // namespace mv
