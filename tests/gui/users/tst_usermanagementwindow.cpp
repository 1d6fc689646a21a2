// The user management window: opened from the menu only by the administrator, refusals with
// their focus, and the questions before deleting and before changing one's own rights.

#include "common/session.h"
#include "forms/windowbuilder.h"
#include "gui/main/mainwindow.h"
#include "gui/users/usermanagementwindow.h"
#include "support/listtexts.h"
#include "support/scriptedresponder.h"
#include "support/tempdatastore.h"
#include "widgets/editbox.h"
#include "widgets/reportlist.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

using namespace mv;
using mv::test::ScriptedResponder;
using mv::test::TempDataStore;

class TestUserManagementWindow : public QObject
{
    Q_OBJECT
private slots:
    void menuOnlyForTheAdministrator();
    void addRefusalsFocusTheField_data();
    void addRefusalsFocusTheField();
    void questionsBeforeDeletingAndChangingOneself();
    void changesKeepToTheChosenAccount();
};

namespace {

// A window on a store holding admin (1) and 张三 (2, audit right only), admin logged in.
struct Fixture
{
    Fixture()
    {
        session() = Session{u"admin"_qs, true, true};
        store.exec(u"INSERT INTO [user] VALUES (2, '张三', 'x', '是', '')"_qs);
        window.refreshList();
        window.show();
    }
    template <class T> T* get(const char* name)
    {
        return control<T>(&window, QString::fromUtf8(name));
    }
    void click(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    QStringList column(int c)
    {
        return test::columnTexts(*get<ReportList>("超级列表框_用户")->model(), c);
    }
    void choose(int row) { get<ReportList>("超级列表框_用户")->setSelectedRow(row); }

    TempDataStore store;
    ScriptedResponder responder;
    UserManagementWindow window{store.connection()};
};

} // namespace

void TestUserManagementWindow::menuOnlyForTheAdministrator()
{
    Fixture f;
    for (const QString& user : {u"张三"_qs, u"admin"_qs}) {
        session().currentUser = user;
        QWidget login;
        MainWindow main(f.store.connection(), &login);
        QAction* item = main.built().menuActions.value(u"用户_用户管理"_qs);
        QCOMPARE(item->isEnabled(), user == u"admin"_qs);
        if (item->isEnabled()) {
            item->trigger();
            auto* window = main.findChild<UserManagementWindow*>();
            QVERIFY(window && window->isVisible() && window->isModal());
        }
    }
}

void TestUserManagementWindow::addRefusalsFocusTheField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty name") << QString() << u"pw"_qs << u"编辑框_用户名"_qs;
    QTest::newRow("name used") << u"张三"_qs << u"pw"_qs << u"编辑框_用户名"_qs;
    QTest::newRow("passwords differ") << u"李四"_qs << u"pW"_qs << u"编辑框_密码"_qs;
}

void TestUserManagementWindow::addRefusalsFocusTheField()
{
    QFETCH(QString, name);
    QFETCH(QString, again);
    QFETCH(QString, focus);
    Fixture f;
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.get<EditBox>("编辑框_用户名")->setText(name);
    f.get<EditBox>("编辑框_密码")->setText(u"pw"_qs);
    f.get<EditBox>("编辑框_密码确认")->setText(again);
    f.click("按钮_添加");
    QCOMPARE(f.responder.messages.size(), 1);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(f.column(1), (QStringList{u"admin"_qs, u"张三"_qs}));
    QCOMPARE(f.column(2), (QStringList{u"是"_qs, u"是"_qs}));
    QCOMPARE(f.column(3), (QStringList{u"是"_qs, u"否"_qs}));
}

void TestUserManagementWindow::questionsBeforeDeletingAndChangingOneself()
{
    Fixture f;
    f.click("按钮_删除");
    QCOMPARE(f.responder.lastText(), u"请先在列表中选择一个用户！"_qs);

    // The administrator is refused before any question; taking his own right away asks.
    f.choose(0);
    f.click("按钮_删除");
    QCOMPARE(f.responder.lastText(), u"系统管理员账户不能删除！"_qs);
    f.get<QCheckBox>("选择框_审核")->setChecked(false);
    f.responder.queueAnswer(AnswerNo);
    f.click("按钮_修改");
    QCOMPARE(f.responder.messages.last().title, u"修改提示"_qs);
    QCOMPARE(f.column(2).first(), u"是"_qs);

    // Another account changes without a question; deleting it asks, naming it.
    f.choose(1);
    QVERIFY(f.get<QCheckBox>("选择框_审核")->isChecked());
    f.get<QCheckBox>("选择框_审核")->setChecked(false);
    f.click("按钮_修改");
    QCOMPARE(f.column(2), (QStringList{u"是"_qs, u"否"_qs}));
    f.responder.clear();
    f.responder.queueAnswer(AnswerNo);
    f.responder.queueAnswer(AnswerYes);
    f.click("按钮_删除");
    QCOMPARE(f.column(1).size(), 2);
    f.click("按钮_删除");
    QCOMPARE(f.responder.messages.at(1).text, u"确定要删除用户『张三』吗？"_qs);
    QCOMPARE(f.responder.messages.at(1).title, u"删除提示"_qs);
    QCOMPARE(f.column(1), QStringList{u"admin"_qs});
}

void TestUserManagementWindow::changesKeepToTheChosenAccount()
{
    // A name typed over the chosen 张三 is neither a rename nor another account to reset, and
    // a password typed for 修改 is not dropped without a word: nothing is stored.
    Fixture f;
    f.choose(1);
    auto* name = f.get<EditBox>("编辑框_用户名");
    auto* password = f.get<EditBox>("编辑框_密码");
    QTest::keyClicks(name, u"2"_qs);
    QTest::keyClicks(password, u"new"_qs);
    QTest::keyClicks(f.get<EditBox>("编辑框_密码确认"), u"new"_qs);
    f.get<QCheckBox>("选择框_数据操作")->setChecked(true);
    f.click("按钮_修改");
    f.click("按钮_重置密码");
    QCOMPARE(f.responder.messages.size(), 2);
    QCOMPARE(f.responder.messages.at(1).text,
             u"所选用户是『张三』，用户名不能修改；要添加新用户，请点击“添加”。"_qs);
    name->setText(u"张三"_qs);
    f.click("按钮_修改");
    QCOMPARE(f.responder.lastText(),
             u"“修改”只修改权限；要修改『张三』的密码，请点击“重置密码”。"_qs);
    QCOMPARE(f.column(1), (QStringList{u"admin"_qs, u"张三"_qs}));
    QCOMPARE(f.column(3), (QStringList{u"是"_qs, u"否"_qs}));
    const auto rows = f.store.connection().query(u"select 密码 from [user] where 编号=2"_qs, true);
    QVERIFY(rows);
    QCOMPARE(rows->field(u"密码"_qs), u"x"_qs);
}

QTEST_MAIN(TestUserManagementWindow)
#include "tst_usermanagementwindow.moc"
