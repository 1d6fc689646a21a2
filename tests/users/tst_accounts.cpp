// Account maintenance: refusals, exact names and texts, rights as the login reads them, the
// accounts that cannot be deleted, and failures that are reported instead of hidden.

#include "support/tempdatastore.h"
#include "users/accounts.h"
#include "users/login.h"

#include <QTest>

using namespace mv;
using mv::test::TempDataStore;

namespace {

// The user table as "编号|用户|密码|ycl审核|数据操作" lines, in 编号 order.
QStringList userTable(Connection& db)
{
    QStringList lines;
    auto rows = db.query(QStringLiteral("SELECT * FROM [user] ORDER BY 编号"));
    for (; rows && !rows->eof(); rows->next()) {
        QStringList cells;
        for (const char* column : {"编号", "用户", "密码", "ycl审核", "数据操作"})
            cells.append(rows->field(QString::fromUtf8(column)));
        lines.append(cells.join(u'|'));
    }
    return lines;
}

NewAccount clerk(const QString& name, const QString& password, bool audit = false,
                 bool data = false)
{
    return NewAccount{name, password, password, audit, data};
}

} // namespace

class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    void addRefusals_data();
    void addRefusals();
    void namesAndPasswordsAreStoredAsTyped();
    void rightsAndPasswordReset();
    void deletionKeepsTheAdministratorAndTheCurrentUser();
    void failuresAreReported();
};

void TestAccounts::addRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::newRow("empty name") << QString() << u"x"_qs << u"x"_qs << u"用户名不能为空！"_qs
                                << int(AccountField::Name);
    QTest::newRow("name used") << u"张三"_qs << u"x"_qs << u"x"_qs
                               << u"用户名『张三』已经存在，请换一个用户名！"_qs
                               << int(AccountField::Name);
    QTest::newRow("administrator's name")
        << u"admin"_qs << u"x"_qs << u"x"_qs << u"用户名『admin』已经存在，请换一个用户名！"_qs
        << int(AccountField::Name);
    QTest::newRow("empty password") << u"李四"_qs << QString() << QString() << u"密码不能为空！"_qs
                                    << int(AccountField::Password);
    QTest::newRow("passwords differ")
        << u"李四"_qs << u"abc"_qs << u"abC"_qs << u"2次密码不一致，请重新输入！"_qs
        << int(AccountField::Password);
}

void TestAccounts::addRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, again);
    QFETCH(QString, message);
    QFETCH(int, focus);
    TempDataStore store;
    QVERIFY(addAccount(store.connection(), clerk(u"张三"_qs, u"1"_qs)).done);
    const QStringList before = userTable(store.connection());

    const AccountOutcome outcome =
        addAccount(store.connection(), NewAccount{name, password, again, true, true});
    QVERIFY(!outcome.done);
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.title, u"提示"_qs);
    QCOMPARE(int(outcome.focus), focus);
    QCOMPARE(userTable(store.connection()), before);
}

void TestAccounts::namesAndPasswordsAreStoredAsTyped()
{
    TempDataStore store;
    Connection& db = store.connection();
    // Names differing only in letter case are two accounts, as the login tells them apart.
    QCOMPARE(addAccount(db, clerk(u"Wang"_qs, u"p1"_qs)).message, u"已添加用户『Wang』。"_qs);
    QVERIFY(addAccount(db, clerk(u"wang"_qs, u"p2"_qs)).done);
    QVERIFY(addAccount(db, clerk(u"O'Neil, a=b"_qs, u"it's,=\"x\""_qs)).done);
    QCOMPARE(userTable(db), (QStringList{u"1|admin|admin|是|是"_qs, u"2|Wang|p1||"_qs,
                                         u"3|wang|p2||"_qs, u"4|O'Neil, a=b|it's,=\"x\"||"_qs}));
    QVERIFY(checkLogin(db, u"wang"_qs, u"p2"_qs).done);
    QVERIFY(!checkLogin(db, u"wang"_qs, u"p1"_qs).done);
    QVERIFY(checkLogin(db, u"O'Neil, a=b"_qs, u"it's,=\"x\""_qs).done);

    QVERIFY(isAdministrator(db, u"admin"_qs) && !isAdministrator(db, u"Admin"_qs));
}

void TestAccounts::rightsAndPasswordReset()
{
    TempDataStore store;
    Connection& db = store.connection();
    QVERIFY(addAccount(db, clerk(u"张三"_qs, u"old"_qs, false, true)).done);
    LoginOutcome login = checkLogin(db, u"张三"_qs, u"old"_qs);
    QVERIFY(login.done && !login.auditRight && login.dataRight);

    const AccountOutcome granted = changeRights(db, {2, u"张三"_qs}, true, false);
    QCOMPARE(granted.message, u"已修改用户『张三』的权限，该用户下次登录时生效。"_qs);
    login = checkLogin(db, u"张三"_qs, u"old"_qs);
    QVERIFY(login.done && login.auditRight && !login.dataRight);
    QCOMPARE(changeRights(db, {9, u"张三"_qs}, true, true).focus, AccountField::List);

    QCOMPARE(resetPassword(db, {2, u"张三"_qs}, u"new"_qs, u"New"_qs).focus,
             AccountField::Password);
    QVERIFY(!resetPassword(db, {2, u"张三"_qs}, QString(), QString()).done);
    QVERIFY(resetPassword(db, {2, u"张三"_qs}, u" n'e,w= "_qs, u" n'e,w= "_qs).done);
    QCOMPARE(userTable(db), (QStringList{u"1|admin|admin|是|是"_qs, u"2|张三| n'e,w= |是|"_qs}));
}

void TestAccounts::deletionKeepsTheAdministratorAndTheCurrentUser()
{
    TempDataStore store;
    Connection& db = store.connection();
    QVERIFY(addAccount(db, clerk(u"张三"_qs, u"1"_qs)).done);
    QVERIFY(addAccount(db, clerk(u"李四"_qs, u"1"_qs)).done);

    QCOMPARE(deleteAccount(db, {1, u"admin"_qs}, u"张三"_qs).message,
             u"系统管理员账户不能删除！"_qs);
    QCOMPARE(deleteAccount(db, {2, u"张三"_qs}, u"张三"_qs).message,
             u"当前登录的用户不能删除！"_qs);
    QCOMPARE(userTable(db).size(), 3);
    QCOMPARE(deleteAccount(db, {2, u"张三"_qs}, u"admin"_qs).message, u"已删除用户『张三』。"_qs);
    QCOMPARE(userTable(db), (QStringList{u"1|admin|admin|是|是"_qs, u"3|李四|1||"_qs}));
    QVERIFY(!deleteAccount(db, {2, u"张三"_qs}, u"admin"_qs).done);

    // Numbers keep growing, so a new account never takes the administrator's place.
    QVERIFY(addAccount(db, clerk(u"王五"_qs, u"1"_qs)).done);
    QCOMPARE(listAccounts(db).last().number, 4);

    // A list shown before another session deleted 王五 and added 赵六 under his number: what
    // is done to 王五 touches 赵六 in no way.
    const Account shown = listAccounts(db).last();
    QVERIFY(deleteAccount(db, shown, u"admin"_qs).done);
    QVERIFY(addAccount(db, clerk(u"赵六"_qs, u"6"_qs)).done);
    const QStringList before = userTable(db);
    QCOMPARE(resetPassword(db, shown, u"7"_qs, u"7"_qs).message,
             u"该用户已不存在，请刷新列表后重新选择！"_qs);
    QVERIFY(!changeRights(db, shown, true, true).done);
    QVERIFY(!deleteAccount(db, shown, u"admin"_qs).done);
    QCOMPARE(userTable(db), before);
}

void TestAccounts::failuresAreReported()
{
    TempDataStore store;
    Connection& db = store.connection();
    QVERIFY(addAccount(db, clerk(u"张三"_qs, u"1"_qs)).done);
    const QStringList before = userTable(db);
    // The database refuses every change of the table.
    if (store.onServer())
        store.exec(u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "RAISE EXCEPTION 'read only'; END $$"_qs);
    for (const char* event : {"INSERT", "UPDATE", "DELETE"})
        store.exec((store.onServer()
                        ? QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %1 ON [user] "
                                         "FOR EACH ROW EXECUTE FUNCTION refuse()")
                        : QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %1 ON [user] "
                                         "BEGIN SELECT RAISE(ABORT, 'read only'); END"))
                       .arg(QString::fromUtf8(event)));

    const QList<AccountOutcome> outcomes = {addAccount(db, clerk(u"李四"_qs, u"1"_qs)),
                                            changeRights(db, {2, u"张三"_qs}, true, true),
                                            resetPassword(db, {2, u"张三"_qs}, u"2"_qs, u"2"_qs),
                                            deleteAccount(db, {2, u"张三"_qs}, u"admin"_qs)};
    for (const AccountOutcome& outcome : outcomes) {
        QVERIFY(!outcome.done);
        QCOMPARE(outcome.title, u"错误"_qs);
        QVERIFY2(outcome.message.contains(u"read only"_qs), qPrintable(outcome.message));
    }
    QCOMPARE(userTable(db), before);

    // A full disk is said in words a clerk reads (SQLite's page limit stands in for it).
    if (store.onServer())
        return;
    for (const char* event : {"INSERT", "UPDATE", "DELETE"})
        store.exec(u"DROP TRIGGER refuse_"_qs + QString::fromUtf8(event));
    store.exec(u"PRAGMA max_page_count = "_qs +
               db.query(u"PRAGMA page_count"_qs)->value(0).toString());
    QCOMPARE(addAccount(db, clerk(QString(3000, u'王'), u"1"_qs)).message,
             u"保存失败，数据库没有改动：数据所在的磁盘已满，请清理出磁盘空间后再试。"_qs);
    QCOMPARE(userTable(db), before);
}

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
