#include "documents/printtemplate.h"

#include "documents/documentrules.h"

#include <QDir>
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

} // namespace mv
