#include "app/programpaths.h"

#include "db/datastore.h"
#include "documents/printtemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mv {

QString portableProgramDirectory(const QString& programDirectory)
{
    if (programDirectory.isEmpty() || QFileInfo(installedShareDirectory(programDirectory)).isDir())
        return {};
    return programDirectory;
}

QString programDataDirectory(const QString& home)
{
    return resolveDataDirectory(home,
                                portableProgramDirectory(QCoreApplication::applicationDirPath()));
}

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
}

QString describeProgramPaths(const QString& dataDirectory, const QString& programDirectory)
{
    const QStringList directories = printTemplateDirectories(dataDirectory, programDirectory);
    QString text = QStringLiteral("数据目录：") + QDir::toNativeSeparators(dataDirectory) + u'\n';
    for (const auto& [kind, label] : {std::pair{DocumentKind::Receipt, u"入库单模板："},
                                      std::pair{DocumentKind::Requisition, u"领料单模板："}}) {
        const QString path = findPrintTemplate(kind, directories);
        const QString shown = path.isEmpty()          ? QStringLiteral("找不到")
                              : path.startsWith(u':') ? QStringLiteral("程序内置 ") + path
                                                      : QDir::toNativeSeparators(path);
        text += QString::fromUtf16(label) + shown + u'\n';
    }
    return text;
}

} // namespace mv
