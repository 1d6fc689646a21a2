#include "documents/printtemplate.h"

#include "print/tablefile.h"

#include <QDir>
#include <QFile>

namespace mv {

DocumentOutcome loadPrintTemplate(DocumentKind kind, const QStringList& directories,
                                  PrintTable& table)
{
    const QString path = findPrintTemplate(kind, directories);
    if (path.isEmpty())
        return DocumentOutcome::refused(QStringLiteral("找不到打印模板") + printTemplateName(kind),
                                        QStringLiteral("提示"));
    QFile file(path);
    bool tooLarge = file.size() > kMaxTableFileBytes;
    if (!tooLarge && file.open(QIODevice::ReadOnly) &&
        loadPrintTable(file.readAll(), table, nullptr, &tooLarge))
        return DocumentOutcome::success();
    const QString what =
        tooLarge ? QStringLiteral("打印模板已损坏") : QStringLiteral("找不到打印模板");
    return DocumentOutcome::refused(what + QDir::toNativeSeparators(path), QStringLiteral("提示"));
}

} // namespace mv
