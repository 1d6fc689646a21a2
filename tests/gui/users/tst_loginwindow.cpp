#include "app/startfailure.h"
#include "common/session.h"
#include "forms/windowbuilder.h"
#include "gui/main/mainwindow.h"
#include "gui/users/loginwindow.h"
#include "support/scriptedresponder.h"
#include "users/login.h"
#include "widgets/combobox.h"
#include "widgets/editbox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace mv;
using mv::test::ScriptedResponder;

class TestLoginWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void offersEveryUserButTheLowestNumbered();
    void refusals_data();
    void refusals();
    void hiddenFirstAccountLogsInWhenTyped();
    void mainWindowBuiltWhileTypingIsTheOneStarted();
    void logInAgainAsAnotherUser();
    void rightsNeedExactlyYes_data();
    void rightsNeedExactlyYes();
    void enterMovesFocusThenLogsIn();
    void accessFileIsRefusedWithAMessage();

private:
    void open();
    void addUser(int number, const QString& name, const QString& password, const QString& audit,
                 const QString& data);
    void typeAndLogIn(const QString& name, const QString& password);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedResponder> m_responder;
    std::unique_ptr<LoginWindow> m_login;
    ComboBox* m_user = nullptr;
    EditBox* m_password = nullptr;
};

void TestLoginWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_responder = std::make_unique<ScriptedResponder>();
    session() = Session{};
}

void TestLoginWindow::cleanup()
{
    m_login.reset();
    m_responder.reset();
    m_dir.reset();
}

void TestLoginWindow::open()
{
    m_login = std::make_unique<LoginWindow>(m_dir->path(), OpenOptions{});
    m_user = control<ComboBox>(m_login.get(), QStringLiteral("用户_组合框"));
    m_password = control<EditBox>(m_login.get(), QStringLiteral("编辑框2"));
    QVERIFY(m_user && m_password);
    m_login->show();
    m_login->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_login.get()));
}

void TestLoginWindow::addUser(int number, const QString& name, const QString& password,
                              const QString& audit, const QString& data)
{
    QVERIFY(m_login->connection().execute(
        QStringLiteral("INSERT INTO [user] (编号, 用户, 密码, ycl审核, 数据操作) VALUES (%1, '%2', "
                       "'%3', '%4', '%5')")
            .arg(number)
            .arg(name, password, audit, data)));
}

void TestLoginWindow::typeAndLogIn(const QString& name, const QString& password)
{
    m_user->setEditText(name);
    m_password->setText(password);
    QTest::mouseClick(control<QPushButton>(m_login.get(), QStringLiteral("按钮2")), Qt::LeftButton);
}

void TestLoginWindow::offersEveryUserButTheLowestNumbered()
{
    open();
    addUser(3, QStringLiteral("李四"), QStringLiteral("x"), {}, {});
    addUser(2, QStringLiteral("张三"), QStringLiteral("x"), {}, {});
    // Re-open so the list is read from the table as it now stands.
    m_login.reset();
    open();
    QCOMPARE(m_user->count(), 2);
    QCOMPARE(m_user->itemText(0), QStringLiteral("张三"));
    QCOMPARE(m_user->itemText(1), QStringLiteral("李四"));
    // The list is read from the names alone, never with every account's password.
    const auto names = m_login->connection().query(userNameListStatement());
    QVERIFY(names && !names->eof());
    QCOMPARE(names->field(QStringLiteral("用户")), QStringLiteral("admin"));
    QCOMPARE(names->columnIndex(QStringLiteral("密码")), -1);
    // What is typed as the password is masked on the screen.
    QCOMPARE(m_password->echoMode(), QLineEdit::Password);
    QCOMPARE(QApplication::focusWidget(), m_user->focusProxy() ? m_user->focusProxy() : m_user);
}

void TestLoginWindow::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("focusOnName");
    QTest::newRow("both empty") << QString() << QString()
                                << QStringLiteral("登录用户名还没有输入！") << true;
    QTest::newRow("no password") << QStringLiteral("admin") << QString()
                                 << QStringLiteral("登录密码还没有输入！") << false;
    QTest::newRow("unknown user") << QStringLiteral("nobody") << QStringLiteral("admin")
                                  << QStringLiteral("没有这用户") << true;
    QTest::newRow("name differs in case") << QStringLiteral("Admin") << QStringLiteral("admin")
                                          << QStringLiteral("没有这用户") << true;
    QTest::newRow("quote in name") << QStringLiteral("ad'min") << QStringLiteral("admin")
                                   << QStringLiteral("没有这用户") << true;
    QTest::newRow("wrong password") << QStringLiteral("admin") << QStringLiteral("Admin")
                                    << QStringLiteral("密码错误") << false;
    // The stored password holds a character GBK has no code for; '?' must not match it.
    QTest::newRow("question mark for a non-GBK character")
        << QStringLiteral("ő") << QStringLiteral("?") << QStringLiteral("密码错误") << false;
}

void TestLoginWindow::refusals()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(bool, focusOnName);
    open();
    addUser(2, QStringLiteral("ő"), QStringLiteral("ő"), {}, {});
    typeAndLogIn(name, password);
    QCOMPARE(m_responder->messages.size(), 1);
    QCOMPARE(m_responder->messages.at(0).text, message);
    QCOMPARE(m_responder->messages.at(0).code, 0);
    QCOMPARE(m_responder->messages.at(0).title, QString());
    QVERIFY(!m_login->mainWindow());
    QVERIFY(m_login->isVisible());
    QVERIFY(session().currentUser.isEmpty());
    QWidget* expected = focusOnName ? static_cast<QWidget*>(m_user) : m_password;
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == expected || (focus && focus->parentWidget() == expected));
    // The refused text is selected: typing again replaces it.
    if (auto* edit = qobject_cast<QLineEdit*>(focus); edit && !edit->text().isEmpty())
        QCOMPARE(edit->selectedText(), edit->text());
}

void TestLoginWindow::hiddenFirstAccountLogsInWhenTyped()
{
    open();
    QCOMPARE(m_user->findText(QStringLiteral("admin")), -1);
    typeAndLogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    QVERIFY(m_responder->messages.isEmpty());
    QVERIFY(m_login->mainWindow());
    QVERIFY(m_login->mainWindow()->isVisible());
    QVERIFY(m_login->isHidden());
    QCOMPARE(session().currentUser, QStringLiteral("admin"));
    QVERIFY(session().auditRight);
    QVERIFY(session().dataRight);
}

void TestLoginWindow::mainWindowBuiltWhileTypingIsTheOneStarted()
{
    const auto mainWindows = [] {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<MainWindow*>(widget))
                found << widget;
        return found;
    };
    open();
    QTRY_COMPARE(mainWindows().size(), 1); // built once the login window has been drawn
    QWidget* prepared = mainWindows().first();
    QVERIFY(prepared->isHidden());
    typeAndLogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    QCOMPARE(m_login->mainWindow(), prepared);
    QVERIFY(prepared->isVisible());
    QCOMPARE(mainWindows().size(), 1);
}

void TestLoginWindow::logInAgainAsAnotherUser()
{
    open();
    typeAndLogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    QPointer<MainWindow> first = m_login->mainWindow();
    QVERIFY(first);
    addUser(2, QStringLiteral("张三"), QStringLiteral("x"), {}, {});
    first->built().menuActions.value(QStringLiteral("系统_重新登录"))->trigger();
    QTRY_VERIFY(!first);
    QVERIFY(m_login->isVisible());
    QVERIFY(m_password->text().isEmpty());
    QVERIFY(session().currentUser.isEmpty());
    QCOMPARE(m_user->findText(QStringLiteral("张三")), 0); // the account added meanwhile
    typeAndLogIn(QStringLiteral("张三"), QStringLiteral("x"));
    QVERIFY(m_login->mainWindow() && m_login->mainWindow()->isVisible());
    QVERIFY(m_login->isHidden());
    QCOMPARE(session().currentUser, QStringLiteral("张三"));
    QVERIFY(!m_login->mainWindow()->built().menuActions.value(u"用户_用户管理"_qs)->isEnabled());
}

void TestLoginWindow::rightsNeedExactlyYes_data()
{
    QTest::addColumn<QString>("audit");
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("auditRight");
    QTest::addColumn<bool>("dataRight");
    QTest::newRow("yes, yes") << QStringLiteral("是") << QStringLiteral("是") << true << true;
    QTest::newRow("trailing blank")
        << QStringLiteral("是 ") << QStringLiteral("否") << false << false;
    QTest::newRow("latin Y") << QStringLiteral("Y") << QStringLiteral("是") << false << true;
    QTest::newRow("empty") << QString() << QString() << false << false;
}

void TestLoginWindow::rightsNeedExactlyYes()
{
    QFETCH(QString, audit);
    QFETCH(QString, data);
    QFETCH(bool, auditRight);
    QFETCH(bool, dataRight);
    open();
    addUser(2, QStringLiteral("王五"), QStringLiteral("pw"), audit, data);
    typeAndLogIn(QStringLiteral("王五"), QStringLiteral("pw"));
    QVERIFY(m_login->mainWindow());
    QCOMPARE(session().currentUser, QStringLiteral("王五"));
    QCOMPARE(session().auditRight, auditRight);
    QCOMPARE(session().dataRight, dataRight);
}

void TestLoginWindow::enterMovesFocusThenLogsIn()
{
    open();
    m_user->setFocus();
    m_user->setEditText(QStringLiteral("admin"));
    QTest::keyClick(m_user, Qt::Key_Return);
    QWidget* focus = QApplication::focusWidget();
    QCOMPARE(focus, static_cast<QWidget*>(m_password));
    QVERIFY(!m_login->mainWindow());
    // Tab walks name, password, 登录, 退出.
    m_user->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_password));
    QTest::keyClick(m_password, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("按钮2"));
    m_password->setFocus();
    QTest::keyClicks(m_password, QStringLiteral("admin"));
    QTest::keyClick(m_password, Qt::Key_Return);
    QVERIFY(m_login->mainWindow());
    QVERIFY(m_responder->messages.isEmpty());
}

void TestLoginWindow::accessFileIsRefusedWithAMessage()
{
    QFile file(m_dir->filePath(QStringLiteral("db.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray header(4, '\0');
    header += "Standard Jet DB";
    header += QByteArray(2048, '\0');
    file.write(header);
    file.close();

    open();
    QVERIFY(!m_login->databaseOpen());
    QCOMPARE(m_user->count(), 0);
    // No login that cannot work: the start says why and ends.
    QVERIFY(m_responder->messages.isEmpty());
    QVERIFY(!settleStartFailure(*m_login, m_dir->path(), OpenOptions{}));
    QCOMPARE(m_responder->messages.size(), 1);
    QVERIFY(m_responder->messages.at(0).text.contains(QStringLiteral("导入")));
    // The file is left exactly as it was.
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), header);
}

QTEST_MAIN(TestLoginWindow)
#include "tst_loginwindow.moc"
