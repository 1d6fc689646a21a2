#include "common/session.h"
#include "forms/windowbuilder.h"
#include "gui/users/passwordwindow.h"
#include "support/scriptedresponder.h"
#include "support/tempdatastore.h"
#include "users/login.h"
#include "widgets/editbox.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace mv;
using mv::test::ScriptedResponder;
using mv::test::TempDataStore;

class TestPasswordWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void refusalsKeepTheWindowAndFocusTheBoxToCorrect_data();
    void refusalsKeepTheWindowAndFocusTheBoxToCorrect();
    void newPasswordIsStoredAsTyped_data();
    void newPasswordIsStoredAsTyped();
    void failedUpdateIsNoSuccess_data();
    void failedUpdateIsNoSuccess();

private:
    void typeAndChange(const QString& old, const QString& fresh, const QString& repeated);
    QString storedPassword();

    std::unique_ptr<TempDataStore> m_store;
    std::unique_ptr<ScriptedResponder> m_responder;
    std::unique_ptr<PasswordWindow> m_window;
};

void TestPasswordWindow::init()
{
    m_store = std::make_unique<TempDataStore>();
    m_responder = std::make_unique<ScriptedResponder>();
    session() = Session{QStringLiteral("admin"), false, false};
    m_window = std::make_unique<PasswordWindow>(m_store->connection());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestPasswordWindow::cleanup()
{
    m_window.reset();
    m_responder.reset();
    m_store.reset();
}

void TestPasswordWindow::typeAndChange(const QString& old, const QString& fresh,
                                       const QString& repeated)
{
    control<EditBox>(m_window.get(), QStringLiteral("编辑框1"))->setText(old);
    control<EditBox>(m_window.get(), QStringLiteral("编辑框2"))->setText(fresh);
    control<EditBox>(m_window.get(), QStringLiteral("编辑框3"))->setText(repeated);
    control<QPushButton>(m_window.get(), QStringLiteral("按钮1"))->click();
}

QString TestPasswordWindow::storedPassword()
{
    auto record =
        m_store->connection().query(QStringLiteral("SELECT 密码 FROM [user] WHERE 用户='admin'"));
    return record ? record->field(QStringLiteral("密码")) : QStringLiteral("<no account>");
}

void TestPasswordWindow::refusalsKeepTheWindowAndFocusTheBoxToCorrect_data()
{
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("repeated");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    // The old password is checked before the two new ones.
    QTest::newRow("no old password") << ""
                                     << "a"
                                     << "b"
                                     << "请输入旧密码"
                                     << "编辑框1";
    QTest::newRow("wrong old password") << "Admin"
                                        << "a"
                                        << "b"
                                        << "旧密码错误"
                                        << "编辑框1";
    QTest::newRow("new ones differ") << "admin"
                                     << "new"
                                     << "new "
                                     << "2次密码不一致，无法修改密码"
                                     << "编辑框2";
    // The login would refuse an empty password: the user would be locked out.
    QTest::newRow("new one empty") << "admin"
                                   << ""
                                   << ""
                                   << "密码不能为空！"
                                   << "编辑框2";
}

void TestPasswordWindow::refusalsKeepTheWindowAndFocusTheBoxToCorrect()
{
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, repeated);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    typeAndChange(old, fresh, repeated);
    QCOMPARE(m_responder->messages.size(), 1);
    QCOMPARE(m_responder->lastText(), message);
    QCOMPARE(m_responder->messages.first().title, QStringLiteral("提示"));
    QVERIFY(m_window->isVisible());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(storedPassword(), QStringLiteral("admin"));
}

void TestPasswordWindow::newPasswordIsStoredAsTyped_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("quote") << "it's \"new\"";
}

void TestPasswordWindow::newPasswordIsStoredAsTyped()
{
    QFETCH(QString, password);
    typeAndChange(QStringLiteral("admin"), password, password);
    QCOMPARE(m_responder->lastText(),
             QStringLiteral("密码修改成功！ 新密码为『%1』").arg(password));
    QCOMPARE(m_responder->messages.first().title, QStringLiteral("提示"));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QCOMPARE(storedPassword(), password);
    QVERIFY(checkLogin(m_store->connection(), QStringLiteral("admin"), password).done);
}

void TestPasswordWindow::failedUpdateIsNoSuccess_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("refused") << "SELECT RAISE(ABORT, '帐户已锁定')";
    QTest::newRow("silently ignored") << "SELECT RAISE(IGNORE)";
}

void TestPasswordWindow::failedUpdateIsNoSuccess()
{
    QFETCH(QString, trigger);
    m_store->exec(
        QStringLiteral("CREATE TRIGGER locked BEFORE UPDATE ON [user] BEGIN %1; END").arg(trigger));
    typeAndChange(QStringLiteral("admin"), QStringLiteral("secret"), QStringLiteral("secret"));
    QCOMPARE(m_responder->messages.size(), 1);
    QVERIFY2(!m_responder->lastText().contains(QStringLiteral("成功")),
             qPrintable(m_responder->lastText()));
    QCOMPARE(m_responder->messages.first().title, QStringLiteral("错误"));
    QVERIFY(m_window->isVisible());
    QCOMPARE(storedPassword(), QStringLiteral("admin"));
}

QTEST_MAIN(TestPasswordWindow)
#include "tst_passwordwindow.moc"
