// The database choice: the URL it makes and reads, what is kept in the settings, and which
// choice a start takes.

#include "db/databasechoice.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace mv;

class TestDatabaseChoice : public QObject
{
    Q_OBJECT
private slots:
    void urlRoundTrip();
    void passwordKeptOnlyWhenRemembered();
    void optionWinsOverEnvironmentOverSaved();
};

void TestDatabaseChoice::urlRoundTrip()
{
    DatabaseChoice choice;
    choice.server = true;
    choice.host = u"db.example"_qs;
    choice.port = 6543;
    choice.database = u"仓库"_qs;
    choice.user = u"clerk@shop"_qs;
    choice.password = u"p:w/@?#"_qs;
    DatabaseChoice read;
    QVERIFY(parseServerUrl(serverUrl(choice), &read));
    QCOMPARE(serverUrl(read), serverUrl(choice));
    QCOMPARE(read.user, choice.user);
    QCOMPARE(read.password, choice.password);
    QCOMPARE(read.database, choice.database);
    QCOMPARE(read.port, 6543);
    for (const QString& bad : {u"sqlite:/tmp/db.mdb"_qs, u"postgresql://host"_qs, u"nonsense"_qs})
        QVERIFY2(!parseServerUrl(bad, &read), qPrintable(bad));
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
    saveDatabaseChoice(settings, choice);
    DatabaseChoice loaded = loadDatabaseChoice(settings);
    QCOMPARE(loaded.password, u"secret"_qs);
    QVERIFY(loaded.rememberPassword && loaded.server);

    choice.rememberPassword = false;
    saveDatabaseChoice(settings, choice);
    loaded = loadDatabaseChoice(settings);
    QVERIFY(loaded.password.isEmpty());
    QVERIFY(!loaded.rememberPassword);
    QVERIFY(!QFile(settings.fileName()).readAll().contains("secret"));
}

void TestDatabaseChoice::optionWinsOverEnvironmentOverSaved()
{
    DatabaseChoice saved;
    saved.server = true;
    saved.host = u"saved"_qs;
    saved.user = u"u"_qs;
    saved.password = u"pw"_qs;
    const QString option = u"postgresql://a@option:5432/db"_qs;
    const QString environment = u"postgresql://b:x@environment/db"_qs;
    QCOMPARE(startDatabase(option, environment, saved).choice.host, u"option"_qs);
    QVERIFY(startDatabase(option, environment, saved).needsPassword);
    QCOMPARE(startDatabase({}, environment, saved).choice.host, u"environment"_qs);
    QVERIFY(!startDatabase({}, environment, saved).needsPassword);
    QCOMPARE(startDatabase({}, {}, saved).choice.host, u"saved"_qs);
    QVERIFY(!startDatabase({}, {}, DatabaseChoice()).choice.server);
    QVERIFY(startDatabase(u"db.mdb"_qs, {}, saved).error.contains(u"--database"_qs));
}

QTEST_GUILESS_MAIN(TestDatabaseChoice)
#include "tst_databasechoice.moc"
