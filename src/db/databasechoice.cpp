#include "db/databasechoice.h"

#include "db/connection.h"
#include "db/databasechoiceurl.h"
#include "db/datastore.h"

#include <QDir>
#include <QFileInfo>
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
    if (!choice.parameters.isEmpty())
        url.setQuery(choice.parameters);
    return url.toString(QUrl::FullyEncoded);
}

bool parseServerUrl(const QString& text, DatabaseChoice* choice, QString* error)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"postgresql"_qs && url.scheme() != u"postgres"_qs) ||
        url.host().isEmpty() || url.path().size() < 2)
        return false;
    ServerParameters parameters;
    QString problem;
    if (!serverParameters(url, &parameters, &problem)) {
        if (error)
            *error = problem;
        return false;
    }
    choice->server = true;
    choice->host = url.host();
    choice->port = url.port(5432);
    choice->user = url.userName();
    choice->password = url.password();
    choice->database = url.path().mid(1);
    choice->parameters = url.query(QUrl::FullyEncoded);
    choice->rememberPassword = false;
    choice->passwordPlace = PasswordPlace::None;
    return true;
}

QString passwordAccount(const DatabaseChoice& choice)
{
    return choice.user + u'@' + choice.host + u':' + QString::number(choice.port) + u'/' +
           choice.database;
}

namespace {

const QString kPasswordKey = u"password"_qs; // where older versions kept it, in the clear
const QString kPlaceKey = u"passwordPlace"_qs;

QString placeName(PasswordPlace place)
{
    switch (place) {
    case PasswordPlace::Keyring:
        return u"keyring"_qs;
    case PasswordPlace::File:
        return u"file"_qs;
    case PasswordPlace::None:
        break;
    }
    return {};
}

PasswordPlace placeNamed(const QString& name)
{
    if (name == u"keyring"_qs)
        return PasswordPlace::Keyring;
    if (name == u"file"_qs)
        return PasswordPlace::File;
    return PasswordPlace::None;
}

void notePlace(QSettings& settings, PasswordPlace place)
{
    if (place == PasswordPlace::None)
        settings.remove(kPlaceKey);
    else
        settings.setValue(kPlaceKey, placeName(place));
}

// Reads the group's fields; the password stays with the caller.
DatabaseChoice readFields(QSettings& settings)
{
    DatabaseChoice choice;
    choice.server = settings.value(u"kind"_qs).toString() == u"postgresql"_qs;
    choice.host = settings.value(u"host"_qs, choice.host).toString();
    choice.port = settings.value(u"port"_qs, choice.port).toInt();
    choice.database = settings.value(u"database"_qs, choice.database).toString();
    choice.user = settings.value(u"user"_qs).toString();
    choice.parameters = settings.value(u"parameters"_qs).toString();
    return choice;
}

QString g_commandLineDatabase;

} // namespace

DatabaseChoice loadDatabaseChoice(QSettings& settings)
{
    settings.beginGroup(u"database"_qs);
    DatabaseChoice choice = readFields(settings);
    const QString account = passwordAccount(choice);
    if (settings.contains(kPasswordKey)) {
        // Written in the clear by an older version: moved to a place of the user's own and
        // erased from the settings even when no such place takes it (then it is asked for).
        choice.password = settings.value(kPasswordKey).toString();
        choice.passwordPlace = keepServerPassword(account, choice.password).place;
        settings.remove(kPasswordKey);
        notePlace(settings, choice.passwordPlace);
        settings.sync();
    } else {
        choice.passwordPlace = placeNamed(settings.value(kPlaceKey).toString());
        choice.password = keptServerPassword(account, choice.passwordPlace);
    }
    choice.rememberPassword = choice.passwordPlace != PasswordPlace::None;
    settings.endGroup();
    return choice;
}

PasswordStored saveDatabaseChoice(QSettings& settings, const DatabaseChoice& choice)
{
    settings.beginGroup(u"database"_qs);
    const DatabaseChoice before = readFields(settings);
    const bool keep = choice.server && choice.rememberPassword && !choice.password.isEmpty();
    const bool sameAccount = passwordAccount(before) == passwordAccount(choice);
    // A password remembered but not read back (the keyring locked or not running when the
    // window opened) stays where it is: saving a choice that kept it must not forget it.
    const PasswordPlace noted = placeNamed(settings.value(kPlaceKey).toString());
    const bool unread = choice.server && choice.rememberPassword && choice.password.isEmpty() &&
                        sameAccount && noted != PasswordPlace::None;
    if (!unread && (!keep || !sameAccount))
        forgetServerPassword(passwordAccount(before));
    settings.setValue(u"kind"_qs, choice.server ? u"postgresql"_qs : u"file"_qs);
    settings.setValue(u"host"_qs, choice.host);
    settings.setValue(u"port"_qs, choice.port);
    settings.setValue(u"database"_qs, choice.database);
    settings.setValue(u"user"_qs, choice.user);
    if (choice.parameters.isEmpty())
        settings.remove(u"parameters"_qs);
    else
        settings.setValue(u"parameters"_qs, choice.parameters);
    settings.remove(kPasswordKey);
    PasswordStored stored;
    if (keep)
        stored = keepServerPassword(passwordAccount(choice), choice.password);
    else if (unread)
        stored.place = noted;
    notePlace(settings, stored.place);
    settings.endGroup();
    settings.sync();
    return stored;
}

void noteCommandLineDatabase(const QString& description)
{
    g_commandLineDatabase = description;
}

QString commandLineDatabase()
{
    return g_commandLineDatabase;
}

namespace {

// True when the client library finds a password without the program: PGPASSWORD, or the
// password file PGPASSFILE names (else ~/.pgpass).
bool clientLibraryFindsPassword()
{
    if (!qEnvironmentVariable("PGPASSWORD").isEmpty())
        return true;
    const QString file = qEnvironmentVariableIsSet("PGPASSFILE")
                             ? qEnvironmentVariable("PGPASSFILE")
                             : QDir::home().filePath(u".pgpass"_qs);
    return QFileInfo(file).isFile();
}

} // namespace

StartDatabase startDatabase(const QString& option, const QString& environment,
                            const DatabaseChoice& saved)
{
    StartDatabase start;
    const QString given = !option.isEmpty() ? option : environment;
    if (given.isEmpty()) {
        start.choice = saved;
    } else if (QString problem; !parseServerUrl(given, &start.choice, &problem)) {
        start.error = (!option.isEmpty() ? u"--database"_qs : u"MORVANE_DATABASE"_qs) +
                      u" 不是有效的数据库地址，应写成 postgresql://用户@主机:端口/数据库"_qs +
                      (problem.isEmpty() ? QString() : u"（"_qs + problem + u"）"_qs);
        return start;
    } else {
        start.overridden = true;
    }
    start.needsPassword =
        start.choice.server && start.choice.password.isEmpty() && !clientLibraryFindsPassword();
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
