// The database choice: the URL it makes and reads (with its parameters), where a remembered
// password is kept (never in the settings), and which choice a start takes.

#include "db/connection.h"
#include "db/databasechoice.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace mv;

class TestDatabaseChoice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setKeyringEnabled(false); // as where no keyring runs
    }
    void urlRoundTrip();
    void parametersReachTheClientLibrary();
    void wrongServerIsSaidInChinese();
    void passwordKeptOnlyWhenRemembered();
    void passwordInTheSettingsIsMovedOut();
    void optionWinsOverEnvironmentOverSaved();
};

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadUser | QFileDevice::WriteUser;

} // namespace

void TestDatabaseChoice::urlRoundTrip()
{
    DatabaseChoice choice;
    choice.server = true;
    choice.host = u"db.example"_qs;
    choice.port = 6543;
    choice.database = u"仓库"_qs;
    choice.user = u"clerk@shop"_qs;
    choice.password = u"p:w/@?#"_qs;
    choice.parameters = u"sslmode=verify-full&sslrootcert=/etc/ssl/%E4%BB%93.pem"_qs;
    DatabaseChoice read;
    QVERIFY(parseServerUrl(serverUrl(choice), &read));
    QCOMPARE(serverUrl(read), serverUrl(choice));
    QCOMPARE(read.user, choice.user);
    QCOMPARE(read.password, choice.password);
    QCOMPARE(read.database, choice.database);
    QCOMPARE(read.port, 6543);
    QCOMPARE(read.parameters, choice.parameters);
    for (const QString& bad : {u"sqlite:/tmp/db.mdb"_qs, u"postgresql://host"_qs, u"nonsense"_qs,
                               u"postgresql://h/db?ssl-mode=x"_qs, u"postgresql://h/db?a=1%3B2"_qs})
        QVERIFY2(!parseServerUrl(bad, &read), qPrintable(bad));
}

// The client library itself answers to a parameter: a value it refuses is its error, not a
// connection refused at a port where nothing listens.
void TestDatabaseChoice::parametersReachTheClientLibrary()
{
    Connection connection;
    QString error;
    QVERIFY(
        !connection.openUrl(u"postgresql://clerk@127.0.0.1:1/shop?sslmode=sometimes"_qs, &error));
    QVERIFY2(error.contains(u"sslmode"_qs) && error.contains(u"sometimes"_qs), qPrintable(error));
    QVERIFY(
        !connection.openUrl(u"postgresql://clerk@127.0.0.1:1/shop?connect_timeout=x"_qs, &error));
    QVERIFY2(error.contains(u"connect_timeout"_qs), qPrintable(error));
}

// 测试连接 against a port where nothing listens, and against one where a web server answers
// (with SSL asked for first, as by default, and without): the clerk reads why in Chinese.
void TestDatabaseChoice::wrongServerIsSaidInChinese()
{
    const int web = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QVERIFY(web >= 0 && bind(web, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(web, 2) == 0 &&
            getsockname(web, reinterpret_cast<sockaddr*>(&address), &length) == 0);
    std::thread answering([web] {
        for (int i = 0; i < 2; ++i) {
            const int client = accept(web, nullptr, nullptr);
            char request[512];
            if (recv(client, request, sizeof request, 0) > 0)
                send(client, "HTTP/1.0 400 Bad Request\r\n\r\n", 28, 0);
            close(client);
        }
    });
    DatabaseChoice choice;
    choice.server = true;
    choice.host = u"127.0.0.1"_qs;
    choice.user = u"clerk"_qs;
    choice.port = ntohs(address.sin_port);
    const QString notDatabase = testServerConnection(choice).message;
    choice.parameters = u"sslmode=disable"_qs;
    const QString notDatabasePlain = testServerConnection(choice).message;
    answering.join();
    close(web);
    choice.port = 1;
    const QString nothing = testServerConnection(choice).message;

    const QString notPostgres = u"回应的不是 PostgreSQL 数据库服务器"_qs;
    QVERIFY2(notDatabase.contains(notPostgres), qPrintable(notDatabase));
    QVERIFY2(notDatabasePlain.contains(notPostgres), qPrintable(notDatabasePlain));
    QVERIFY2(nothing.startsWith(u"无法连接到数据库服务器，请检查"_qs), qPrintable(nothing));
}

void TestDatabaseChoice::passwordKeptOnlyWhenRemembered()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(u"settings.ini"_qs), QSettings::IniFormat);
    DatabaseChoice choice;
    choice.server = true;
    choice.user = u"clerk"_qs;
    choice.password = u"secret"_qs;
    choice.rememberPassword = true;
    QCOMPARE(saveDatabaseChoice(settings, choice).place, PasswordPlace::File);
    QCOMPARE(QFile::permissions(passwordFilePath()), kOwnerOnly);
    QVERIFY(!contentOf(settings.fileName()).contains("secret"));
    QVERIFY(contentOf(passwordFilePath()).contains("secret"));
    DatabaseChoice loaded = loadDatabaseChoice(settings);
    QCOMPARE(loaded.password, u"secret"_qs);
    QVERIFY(loaded.rememberPassword && loaded.server);
    QCOMPARE(loaded.passwordPlace, PasswordPlace::File);

    // A file opened up to others is closed again when read.
    QFile::setPermissions(passwordFilePath(), kOwnerOnly | QFileDevice::ReadOther);
    QCOMPARE(loadDatabaseChoice(settings).password, u"secret"_qs);
    QCOMPARE(QFile::permissions(passwordFilePath()), kOwnerOnly);

    // Kept for clerk@localhost:5432/morvane, never handed to another server.
    settings.setValue(u"database/host"_qs, u"elsewhere"_qs);
    QVERIFY(loadDatabaseChoice(settings).password.isEmpty());
    settings.setValue(u"database/host"_qs, choice.host);

    // Saved again as the window shows it when the password could not be read back (still to
    // be remembered, the box empty): the password stays where it was.
    DatabaseChoice unread = choice;
    unread.password.clear();
    QCOMPARE(saveDatabaseChoice(settings, unread).place, PasswordPlace::File);
    QCOMPARE(loadDatabaseChoice(settings).password, u"secret"_qs);

    choice.rememberPassword = false;
    QCOMPARE(saveDatabaseChoice(settings, choice).place, PasswordPlace::None);
    loaded = loadDatabaseChoice(settings);
    QVERIFY(loaded.password.isEmpty());
    QVERIFY(!loaded.rememberPassword);
    QVERIFY(!QFile::exists(passwordFilePath()));
}

// An older version wrote the password into the settings in the clear: loading moves it into
// the file of the user's own and erases it from the settings.
void TestDatabaseChoice::passwordInTheSettingsIsMovedOut()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"settings.ini"_qs);
    {
        QSettings old(path, QSettings::IniFormat);
        old.setValue(u"database/kind"_qs, u"postgresql"_qs);
        old.setValue(u"database/user"_qs, u"clerk"_qs);
        old.setValue(u"database/password"_qs, u"old-secret"_qs);
    }
    QVERIFY(contentOf(path).contains("old-secret"));
    QSettings settings(path, QSettings::IniFormat);
    const DatabaseChoice loaded = loadDatabaseChoice(settings);
    QCOMPARE(loaded.password, u"old-secret"_qs);
    QVERIFY(loaded.rememberPassword);
    QVERIFY(!contentOf(path).contains("old-secret"));
    QCOMPARE(QFile::permissions(passwordFilePath()), kOwnerOnly);
    QCOMPARE(loadDatabaseChoice(settings).password, u"old-secret"_qs);
}

void TestDatabaseChoice::optionWinsOverEnvironmentOverSaved()
{
    QTemporaryDir dir;
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", dir.filePath(u"pgpass"_qs).toLocal8Bit()); // none there yet
    DatabaseChoice saved;
    saved.server = true;
    saved.host = u"saved"_qs;
    saved.user = u"u"_qs;
    saved.password = u"pw"_qs;
    const QString option = u"postgresql://a@option:5432/db?sslmode=require"_qs;
    const QString environment = u"postgresql://b:x@environment/db"_qs;
    const StartDatabase fromOption = startDatabase(option, environment, saved);
    QCOMPARE(fromOption.choice.host, u"option"_qs);
    QVERIFY(fromOption.needsPassword && fromOption.overridden);
    QCOMPARE(fromOption.choice.parameters, u"sslmode=require"_qs);
    QVERIFY(serverUrl(fromOption.choice).endsWith(u"/db?sslmode=require"_qs));
    QCOMPARE(startDatabase({}, environment, saved).choice.host, u"environment"_qs);
    QVERIFY(!startDatabase({}, environment, saved).needsPassword);
    QCOMPARE(startDatabase({}, {}, saved).choice.host, u"saved"_qs);
    QVERIFY(!startDatabase({}, {}, saved).overridden);
    QVERIFY(!startDatabase({}, {}, DatabaseChoice()).choice.server);
    QVERIFY(startDatabase(u"db.mdb"_qs, {}, saved).error.contains(u"--database"_qs));

    // With a password file the client library reads it: nothing to ask.
    QFile pgpass(dir.filePath(u"pgpass"_qs));
    QVERIFY(pgpass.open(QIODevice::WriteOnly));
    pgpass.close();
    QVERIFY(!startDatabase(option, {}, saved).needsPassword);
    qunsetenv("PGPASSFILE");
}

QTEST_GUILESS_MAIN(TestDatabaseChoice)
#include "tst_databasechoice.moc"
