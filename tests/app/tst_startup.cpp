// What the start offers when the database of this start cannot be opened: never a login
// that cannot work. A file database that fails says what is wrong and what to do, then the
// program ends; a server that fails offers the password again, 数据设置 or 退出.

#include "app/startfailure.h"
#include "db/connection.h"
#include "db/databasechoice.h"
#include "forms/windowbuilder.h"
#include "gui/main/mainwindow.h"
#include "gui/users/loginwindow.h"
#include "support/scriptedresponder.h"
#include "support/testserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace mv;
using mv::test::ScriptedResponder;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The open modal 数据设置 window once it shows: the file chosen, or a server with a password
// not to be remembered, and 确定 pressed.
void chooseInSettings(bool server = false)
{
    QTimer::singleShot(0, [server] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() != u"DatabaseSettingsWindow"_qs || !window->isVisible())
                continue;
            if (server) {
                control<QRadioButton>(window, u"单选框_服务器"_qs)->setChecked(true);
                control<QLineEdit>(window, u"编辑框_主机"_qs)->setText(u"127.0.0.1"_qs);
                control<QLineEdit>(window, u"编辑框_端口"_qs)->setText(u"1"_qs);
                control<QLineEdit>(window, u"编辑框_用户"_qs)->setText(u"clerk"_qs);
                control<QLineEdit>(window, u"编辑框_密码"_qs)->setText(u"typed"_qs);
                control<QCheckBox>(window, u"复选框_记住密码"_qs)->setChecked(false);
            } else {
                control<QRadioButton>(window, u"单选框_文件"_qs)->setChecked(true);
            }
            control<QPushButton>(window, u"按钮_确定"_qs)->click();
            return;
        }
        chooseInSettings(server);
    });
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // 数据设置 saves into a throw-away place
        setKeyringEnabled(false); // and never into the keyring of whoever runs the tests
        QCoreApplication::setOrganizationName(u"MorvaneTest"_qs);
    }

    // Each refusal of the file database: one plain message with what to do, no login.
    void fileFailuresEndTheProgram_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected");
        QTest::newRow("--home is a file") << u"home file"_qs << u"是一个文件，不是目录"_qs;
        QTest::newRow("unwritable directory") << u"locked"_qs << u"不可写，无法在其中建立数据库"_qs;
        QTest::newRow("db.mdb is a directory") << u"directory"_qs << u"不是数据库文件"_qs;
        QTest::newRow("damaged db.mdb") << u"damaged"_qs << u"已损坏，无法打开"_qs;
        QTest::newRow("newer database") << u"newer"_qs << u"请使用新版本的程序"_qs;
    }
    void fileFailuresEndTheProgram()
    {
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QString home = dir.path();
        const QString database = dir.filePath(u"db.mdb"_qs);
        if (setup == u"home file"_qs) {
            home = dir.filePath(u"home"_qs);
            writeFile(home, "x");
        } else if (setup == u"locked"_qs) {
            QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (geteuid() == 0)
                home = u"/proc/self"_qs; // root writes anywhere else
        } else if (setup == u"directory"_qs) {
            QVERIFY(QDir().mkdir(database));
        } else if (setup == u"damaged"_qs) {
            writeFile(database, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
        } else {
            Connection db;
            QVERIFY(openDataStore(db, home));
            QVERIFY(db.execute(u"PRAGMA user_version = 99"_qs));
        }

        ScriptedResponder responder;
        LoginWindow login(home, OpenOptions{});
        QVERIFY(!login.databaseOpen());
        QVERIFY(responder.messages.isEmpty()); // the start reports it, once
        QVERIFY(!settleStartFailure(login, home, OpenOptions{}));
        QCOMPARE(responder.messages.size(), 1);
        const QString text = responder.messages[0].text;
        QVERIFY2(text.contains(expected) && text.endsWith(u"程序将退出。"_qs), qPrintable(text));
        QVERIFY2(!text.contains(u"unable"_qs, Qt::CaseInsensitive), qPrintable(text));
        QCOMPARE(responder.messages[0].title, u"无法打开数据库"_qs);
        QVERIFY(responder.choices.isEmpty());
        QVERIFY(!QFile::exists(QDir(home).filePath(u"db.mdb.new"_qs)));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
    }

    // An unreachable server: the password again does not help here, so the clerk goes on to
    // 数据设置 and chooses the file, which then opens; or he chooses 退出.
    void serverFailureOffersPasswordSettingsOrExit()
    {
        QTemporaryDir dir;
        OpenOptions options;
        options.serverUrl = u"postgresql://clerk:pw@127.0.0.1:1/shop"_qs;
        ScriptedResponder responder;
        LoginWindow login(dir.path(), options);
        QVERIFY(!login.databaseOpen());

        responder.queueChoice(0);
        responder.queueInput({true, u"another"_qs});
        responder.queueChoice(2);
        QVERIFY(!settleStartFailure(login, dir.path(), options));
        QCOMPARE(responder.choices.size(), 2);
        QCOMPARE(responder.choices[0].items,
                 (QStringList{u"重新输入密码"_qs, u"数据设置"_qs, u"退出"_qs}));
        QVERIFY2(responder.choices[0].prompt.contains(u"无法连接到数据库服务器"_qs),
                 qPrintable(responder.choices[0].prompt));
        QCOMPARE(responder.inputs.size(), 1);
        QVERIFY(responder.inputs[0].prompt.contains(u"clerk"_qs));

        // A server chosen there with its password typed, not to be remembered: this start tries
        // that password rather than asking for it again.
        responder.clear();
        responder.queueChoice(1);
        chooseInSettings(true);
        responder.queueChoice(2);
        QVERIFY(!settleStartFailure(login, dir.path(), options));
        QCOMPARE(responder.choices.size(), 2);
        QVERIFY(responder.inputs.isEmpty());

        responder.clear();
        responder.queueChoice(1);
        chooseInSettings();
        QVERIFY(settleStartFailure(login, dir.path(), options));
        QVERIFY(login.databaseOpen());
        QCOMPARE(responder.lastText(), u"设置已保存。"_qs);
        QVERIFY(QFile::exists(dir.filePath(u"db.mdb"_qs)));
    }

    // A wrong server password: typed again, the database opens (on the test server only).
    void wrongServerPasswordCanBeTypedAgain()
    {
        if (!test::onTestServer())
            QSKIP("needs the test server (MORVANE_TEST_DATABASE)");
        test::ScratchServerDatabase scratch;
        DatabaseChoice choice;
        QVERIFY(parseServerUrl(scratch.url(), &choice));
        const QString password = choice.password;
        choice.password = u"wrong"_qs;
        OpenOptions options;
        options.serverUrl = serverUrl(choice);
        QTemporaryDir dir;
        ScriptedResponder responder;
        LoginWindow login(dir.path(), options);
        QVERIFY(!login.databaseOpen());
        responder.queueChoice(0);
        responder.queueInput({true, password});
        QVERIFY(settleStartFailure(login, dir.path(), options));
        QVERIFY(login.databaseOpen());
        QVERIFY2(responder.choices[0].prompt.contains(u"密码不正确"_qs),
                 qPrintable(responder.choices[0].prompt));

        // Logged in, the main window's title names the server and the database, never the
        // password.
        login.findChild<QComboBox*>(u"用户_组合框"_qs)->setEditText(u"admin"_qs);
        login.findChild<QLineEdit*>(u"编辑框2"_qs)->setText(u"admin"_qs);
        login.tryLogin();
        QVERIFY(login.mainWindow());
        const QString title = login.mainWindow()->windowTitle();
        QVERIFY2(
            title.contains(u"%1:%2/%3"_qs.arg(choice.host).arg(choice.port).arg(choice.database)),
            qPrintable(title));
        QVERIFY2(!title.contains(password), qPrintable(title));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
