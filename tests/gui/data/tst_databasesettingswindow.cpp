// 数据设置 with no keyring running: 记住密码 keeps the password in a file only the user can
// read and the window says so, the settings file never holds it (an old one that does is
// cleared on opening), and a database chosen on the command line is named.

#include "db/databasechoice.h"
#include "gui/data/databasesettingswindow.h"
#include "support/scriptedresponder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace mv;
using mv::test::ScriptedResponder;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> T* control(QWidget& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

} // namespace

class TestDatabaseSettingsWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(u"MorvaneTest"_qs);
        setKeyringEnabled(false); // as where no keyring runs
        QSettings().clear();
    }

    void rememberedPasswordGoesToAFileOfTheUsersOwn()
    {
        ScriptedResponder responder;
        {
            DatabaseSettingsWindow window(u"/data/db.mdb"_qs);
            control<QRadioButton>(window, u"单选框_服务器"_qs)->setChecked(true);
            control<QLineEdit>(window, u"编辑框_用户"_qs)->setText(u"clerk"_qs);
            control<QLineEdit>(window, u"编辑框_密码"_qs)->setText(u"pa55word"_qs);
            control<QCheckBox>(window, u"复选框_记住密码"_qs)->setChecked(true);
            QVERIFY(control<QLabel>(window, u"标签_本次启动"_qs)->isHidden());
            control<QPushButton>(window, u"按钮_确定"_qs)->click();
        }
        const QString file = passwordFilePath();
        QCOMPARE(responder.lastText(),
                 u"设置已保存，程序下次启动时生效。\n密码保存在只有您能读的文件中："_qs +
                     QDir::toNativeSeparators(file));
        QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!contentOf(QSettings().fileName()).contains("pa55word"));

        // An older version's password in the settings is moved out when the window opens.
        QSettings().setValue(u"database/password"_qs, u"old-pa55"_qs);
        QVERIFY(contentOf(QSettings().fileName()).contains("old-pa55"));
        noteCommandLineDatabase(u"db.example:5432/仓库"_qs);
        DatabaseSettingsWindow window(u"/data/db.mdb"_qs);
        QCOMPARE(control<QLineEdit>(window, u"编辑框_密码"_qs)->text(), u"old-pa55"_qs);
        QVERIFY(!contentOf(QSettings().fileName()).contains("old-pa55"));
        QVERIFY(contentOf(file).contains("old-pa55"));
        QVERIFY(control<QLabel>(window, u"标签_密码保存"_qs)
                    ->text()
                    .endsWith(QDir::toNativeSeparators(file)));
        auto* note = control<QLabel>(window, u"标签_本次启动"_qs);
        QVERIFY(!note->isHidden());
        QVERIFY2(
            note->text().startsWith(u"本次启动使用命令行指定的数据库：db.example:5432/仓库"_qs),
            qPrintable(note->text()));
        noteCommandLineDatabase({});
    }

    // A wrong port is refused with the focus on it and what was typed selected, so that the
    // number typed next replaces it.
    void refusalFocusesTheFieldToCorrect()
    {
        ScriptedResponder responder;
        DatabaseSettingsWindow window(u"/data/db.mdb"_qs);
        control<QRadioButton>(window, u"单选框_服务器"_qs)->setChecked(true);
        auto* port = control<QLineEdit>(window, u"编辑框_端口"_qs);
        port->setText(u"x"_qs);
        control<QLineEdit>(window, u"编辑框_用户"_qs)->setText(u"clerk"_qs);
        control<QPushButton>(window, u"按钮_确定"_qs)->click();
        QCOMPARE(responder.lastText(), u"端口应是 1 到 65535 之间的数字。"_qs);
        QCOMPARE(window.focusWidget(), port);
        QCOMPARE(port->selectedText(), u"x"_qs);
    }
};

QTEST_MAIN(TestDatabaseSettingsWindow)
#include "tst_databasesettingswindow.moc"
