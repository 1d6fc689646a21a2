#include "db/databasechoice.h"

#include "db/connection.h"
#include "db/datastore.h"

#include <QSettings>
#include <QUrl>

namespace mv {

QString serverUrl(const DatabaseChoice& choice)
{
    QUrl url;
    url.setScheme(u"postgresql"_qs);
    url.setHost(choice.host);
    url.setPort(choice.port);
    url.setUserName(choice.user);
    if (!choice.password.isEmpty())
        url.setPassword(choice.password);
    url.setPath(u'/' + choice.database);
    return url.toString(QUrl::FullyEncoded);
}

bool parseServerUrl(const QString& text, DatabaseChoice* choice)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"postgresql"_qs && url.scheme() != u"postgres"_qs) ||
        url.host().isEmpty() || url.path().size() < 2)
        return false;
    choice->server = true;
    choice->host = url.host();
    choice->port = url.port(5432);
    choice->user = url.userName();
    choice->password = url.password();
    choice->database = url.path().mid(1);
    choice->rememberPassword = false;
    return true;
}

DatabaseChoice loadDatabaseChoice(QSettings& settings)
{
    DatabaseChoice choice;
    settings.beginGroup(u"database"_qs);
    choice.server = settings.value(u"kind"_qs).toString() == u"postgresql"_qs;
    choice.host = settings.value(u"host"_qs, choice.host).toString();
    choice.port = settings.value(u"port"_qs, choice.port).toInt();
    choice.database = settings.value(u"database"_qs, choice.database).toString();
    choice.user = settings.value(u"user"_qs).toString();
    choice.password = settings.value(u"password"_qs).toString();
    choice.rememberPassword = settings.contains(u"password"_qs);
    settings.endGroup();
    return choice;
}

void saveDatabaseChoice(QSettings& settings, const DatabaseChoice& choice)
{
    settings.beginGroup(u"database"_qs);
    settings.setValue(u"kind"_qs, choice.server ? u"postgresql"_qs : u"file"_qs);
    settings.setValue(u"host"_qs, choice.host);
    settings.setValue(u"port"_qs, choice.port);
    settings.setValue(u"database"_qs, choice.database);
    settings.setValue(u"user"_qs, choice.user);
    if (choice.rememberPassword)
        settings.setValue(u"password"_qs, choice.password);
    else
        settings.remove(u"password"_qs);
    settings.endGroup();
    settings.sync();
}

StartDatabase startDatabase(const QString& option, const QString& environment,
                            const DatabaseChoice& saved)
{
    StartDatabase start;
    const QString given = !option.isEmpty() ? option : environment;
    if (given.isEmpty()) {
        start.choice = saved;
    } else if (!parseServerUrl(given, &start.choice)) {
        start.error = (!option.isEmpty() ? u"--database"_qs : u"MORVANE_DATABASE"_qs) +
                      u" 不是有效的数据库地址，应写成 postgresql://用户@主机:端口/数据库"_qs;
        return start;
    }
    start.needsPassword = start.choice.server && start.choice.password.isEmpty();
    return start;
}

namespace {

ConnectionTest testPassed(const QString& message)
{
    return ConnectionTest::success(message, u"测试连接"_qs, MsgOkInfo);
}

ConnectionTest testRefused(const QString& message)
{
    return ConnectionTest::refused(message, u"测试连接"_qs);
}

} // namespace

ConnectionTest testServerConnection(const DatabaseChoice& choice)
{
    Connection connection;
    QString error;
    if (!connection.openUrl(serverUrl(choice), &error))
        return testRefused(describeServerFailure(error));
    if (!hasProgramTables(connection)) {
        if (const QString problem = unsuitableServerDatabase(connection); !problem.isEmpty())
            return testRefused(u"连接成功，但"_qs + problem.arg(choice.database, QString()));
        return testPassed(
            u"连接成功。数据库是空的，程序下次启动时会在其中建立数据表和管理员账户。"_qs);
    }
    const int version = schemaVersion(connection);
    if (version == 0)
        return testRefused(u"连接成功，但数据库中已有别的数据表，不是本程序的数据库。"_qs);
    if (version > kSchemaVersion)
        return testRefused(u"连接成功，但"_qs + newerSchemaMessage(version));
    return testPassed(u"连接成功。数据库中已有本程序的数据。"_qs);
}

} // namespace mv
