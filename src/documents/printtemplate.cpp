#include "documents/printtemplate.h"

#include "documents/documentrules.h"

#include "print/tablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The built-in templates live in this library's resources.
static void initTemplateResources()
{
    Q_INIT_RESOURCE(templates);
}

namespace mv {

QString printTemplateName(DocumentKind kind)
{
    return documentRules(kind).templateFile;
}

QString installedShareDirectory(const QString& programDirectory)
{
    return QDir::cleanPath(programDirectory + QStringLiteral("/../share/morvane"));
}

QStringList printTemplateDirectories(const QString& dataDirectory, const QString& programDirectory)
{
    QStringList directories;
    const auto add = [&directories](const QString& directory) {
        if (directory.isEmpty())
            return;
        const QString clean = QDir::cleanPath(directory);
        if (!directories.contains(clean))
            directories.append(clean);
    };
    add(dataDirectory);
    add(programDirectory);
    if (!programDirectory.isEmpty())
        add(installedShareDirectory(programDirectory));
    directories.append(QStringLiteral(":/templates"));
    return directories;
}

QString findPrintTemplate(DocumentKind kind, const QStringList& directories)
{
    initTemplateResources();
    const QString name = printTemplateName(kind);
    for (const QString& directory : directories) {
        const QString path = directory + QLatin1Char('/') + name;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

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
