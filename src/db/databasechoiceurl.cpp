#include "db/databasechoiceurl.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace mv {

bool serverParameters(const QUrl& url, ServerParameters* parameters, QString* error)
{
    parameters->clear();
    static const QRegularExpression optionName(u"^[a-z_]+$"_qs);
    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!optionName.match(key).hasMatch()) {
            *error = u"数据库地址中的参数名“%1”无效"_qs.arg(key);
            return false;
        }
        // The driver separates its options at ';'.
        if (value.contains(u';')) {
            *error = u"数据库地址中参数 %1 的值不能含有分号"_qs.arg(key);
            return false;
        }
        parameters->append({key, value});
    }
    return true;
}

QString connectionPair(const QString& key, const QString& value)
{
    QString quoted = value;
    quoted.replace(u'\\', u"\\\\"_qs);
    quoted.replace(u'\'', u"\\'"_qs);
    return key + u"='"_qs + quoted + u'\'';
}

QString serverConnectOptions(const QUrl& url, QString* error)
{
    ServerParameters parameters;
    if (!serverParameters(url, &parameters, error))
        return {};
    QStringList options;
    // An unreachable server is reported after a few seconds, not after minutes.
    const bool ownTimeout = std::any_of(parameters.cbegin(), parameters.cend(), [](const auto& p) {
        return p.first == u"connect_timeout"_qs;
    });
    if (!ownTimeout)
        options.append(u"connect_timeout=5"_qs);
    for (const auto& [key, value] : parameters)
        options.append(connectionPair(key, value));
    return options.join(u';');
}

QString serverDescription(const QString& text)
{
    const QUrl url(text);
    if (url.scheme() != u"postgresql"_qs && url.scheme() != u"postgres"_qs)
        return {};
    return url.host() + u':' + QString::number(url.port(5432)) + url.path();
}

} // namespace mv
