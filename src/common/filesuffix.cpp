#include "common/filesuffix.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace mv {

namespace {

// The patterns of a filter stand in its last parentheses: "PDF 文件 (*.pdf)".
QStringList patternsOf(const QString& filter)
{
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return filter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
}

bool fits(const QString& name, const QString& pattern)
{
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
    return wildcard.match(name).hasMatch();
}

} // namespace

QString withChosenSuffix(const QString& path, const QString& filters, const QString& selected)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty())
        return path;
    for (const QString& filter : filters.split(QStringLiteral(";;"), Qt::SkipEmptyParts))
        for (const QString& pattern : patternsOf(filter))
            if (fits(name, pattern))
                return path;
    for (const QString& pattern : patternsOf(selected))
        if (pattern.startsWith(QLatin1String("*.")) && !pattern.mid(2).contains(u'*'))
            return path + pattern.mid(1);
    return path;
}

} // namespace mv
