#include "users/accounts.h"

#include "db/builders.h"
#include "db/connection.h"

#include <algorithm>

namespace mv {

namespace {

const QString kUserTable = QStringLiteral("user");
const QString kHint = QStringLiteral("提示");

AccountOutcome refused(const QString& message, AccountField focus)
{
    return AccountOutcome::refused(message, kHint, focus);
}

AccountOutcome failed(Connection& connection)
{
    return AccountOutcome::refused(QStringLiteral("保存失败，数据库没有改动：") +
                                       connection.lastErrorForUser(),
                                   QStringLiteral("错误"));
}

AccountOutcome succeeded(const QString& message)
{
    return AccountOutcome::success(message, kHint, MsgOkInfo);
}

AccountOutcome missingAccount()
{
    return refused(QStringLiteral("该用户已不存在，请刷新列表后重新选择！"), AccountField::List);
}

// Refuses what the login could not use: an empty password, or two entries that differ.
std::optional<AccountOutcome> checkPasswords(const QString& password, const QString& again)
{
    if (password.isEmpty())
        return refused(QStringLiteral("密码不能为空！"), AccountField::Password);
    if (password != again)
        return refused(QStringLiteral("2次密码不一致，请重新输入！"), AccountField::Password);
    return std::nullopt;
}

const Account* findAccount(const QList<Account>& accounts, qint64 number)
{
    const auto it = std::find_if(accounts.cbegin(), accounts.cend(),
                                 [number](const Account& a) { return a.number == number; });
    return it == accounts.cend() ? nullptr : &*it;
}

QString numberCondition(qint64 number)
{
    return QStringLiteral("编号=") + QString::number(number);
}

// Executes the statement with its values and commits; the outcome says which of the two
// failed, if any.
AccountOutcome store(Connection& connection, Transaction& transaction, const QString& sql,
                     const QVariantList& values, const QString& doneMessage)
{
    if (!connection.execute(sql, values) || !transaction.commit())
        return failed(connection);
    return succeeded(doneMessage);
}

// Reads the accounts inside the open transaction and finds the one chosen: its number
// still under its name (another session may have deleted it and given the number to a new
// account meanwhile). The outcome to show instead when the transaction, the read or the
// account is missing.
std::optional<AccountOutcome> findForChange(Connection& connection, const Transaction& transaction,
                                            const Account& chosen, QList<Account>& accounts,
                                            const Account*& account)
{
    if (!transaction.active())
        return failed(connection);
    bool ok = false;
    accounts = listAccounts(connection, &ok);
    if (!ok)
        return failed(connection);
    account = findAccount(accounts, chosen.number);
    if (!account || compareTexts(account->name, chosen.name) != 0)
        return missingAccount();
    return std::nullopt;
}

} // namespace

QString rightText(bool granted)
{
    return granted ? QStringLiteral("是") : QString();
}

QList<Account> listAccounts(Connection& connection, bool* ok)
{
    QList<Account> accounts;
    auto rows = connection.query(
        QStringLiteral("select 编号, 用户, ycl审核, 数据操作 from user  ORDER  BY 编号"), true);
    if (ok)
        *ok = rows != nullptr;
    if (!rows)
        return accounts;
    const QString yes = rightText(true);
    for (; !rows->eof(); rows->next()) {
        Account account;
        account.number = rows->value(QStringLiteral("编号")).toLongLong();
        account.name = rows->field(QStringLiteral("用户"));
        account.auditRight = rows->field(QStringLiteral("ycl审核")) == yes;
        account.dataRight = rows->field(QStringLiteral("数据操作")) == yes;
        accounts.append(account);
    }
    rows->close();
    return accounts;
}

bool isAdministrator(Connection& connection, const QString& userName)
{
    const QList<Account> accounts = listAccounts(connection);
    return !userName.isEmpty() && !accounts.isEmpty() &&
           compareTexts(accounts.first().name, userName) == 0;
}

AccountOutcome addAccount(Connection& connection, const NewAccount& account)
{
    if (account.name.isEmpty())
        return refused(QStringLiteral("用户名不能为空！"), AccountField::Name);

    Transaction transaction(connection);
    if (!transaction.active())
        return failed(connection);
    bool ok = false;
    const QList<Account> accounts = listAccounts(connection, &ok);
    if (!ok)
        return failed(connection);
    for (const Account& existing : accounts) {
        if (compareTexts(existing.name, account.name) == 0)
            return refused(
                QStringLiteral("用户名『%1』已经存在，请换一个用户名！").arg(account.name),
                AccountField::Name);
    }
    if (const auto refusal = checkPasswords(account.password, account.passwordAgain))
        return *refusal;

    qint64 number = 1;
    for (const Account& existing : accounts)
        number = std::max(number, existing.number + 1);
    return store(
        connection, transaction,
        buildInsert(kUserTable, QStringList{QStringLiteral("编号"), QStringLiteral("用户"),
                                            QStringLiteral("密码"), QStringLiteral("ycl审核"),
                                            QStringLiteral("数据操作")}),
        {number, account.name, account.password, rightText(account.auditRight),
         rightText(account.dataRight)},
        QStringLiteral("已添加用户『%1』。").arg(account.name));
}

AccountOutcome changeRights(Connection& connection, const Account& chosen, bool auditRight,
                            bool dataRight)
{
    Transaction transaction(connection);
    QList<Account> accounts;
    const Account* account = nullptr;
    if (const auto problem = findForChange(connection, transaction, chosen, accounts, account))
        return *problem;
    return store(
        connection, transaction,
        buildUpdate(kUserTable, QStringLiteral("ycl审核=?,数据操作=?"),
                    numberCondition(account->number)),
        {rightText(auditRight), rightText(dataRight)},
        QStringLiteral("已修改用户『%1』的权限，该用户下次登录时生效。").arg(account->name));
}

std::optional<AccountOutcome> renameRefusal(const Account& chosen, const QString& typedName)
{
    if (typedName == chosen.name)
        return std::nullopt;
    return refused(QStringLiteral("所选用户是『%1』，用户名不能修改；要添加新用户，请点击“添加”。")
                       .arg(chosen.name),
                   AccountField::Name);
}

std::optional<AccountOutcome> rightsChangeRefusal(const Account& chosen, const QString& typedName,
                                                  const QString& typedPassword)
{
    if (auto refusal = renameRefusal(chosen, typedName))
        return refusal;
    if (typedPassword.isEmpty())
        return std::nullopt;
    return refused(
        QStringLiteral("“修改”只修改权限；要修改『%1』的密码，请点击“重置密码”。").arg(chosen.name),
        AccountField::Password);
}

std::optional<AccountOutcome> deletionRefusal(const QList<Account>& accounts, qint64 number,
                                              const QString& currentUser)
{
    const Account* account = findAccount(accounts, number);
    if (!account)
        return missingAccount();
    if (account == &accounts.first())
        return refused(QStringLiteral("系统管理员账户不能删除！"), AccountField::List);
    if (compareTexts(account->name, currentUser) == 0)
        return refused(QStringLiteral("当前登录的用户不能删除！"), AccountField::List);
    return std::nullopt;
}

AccountOutcome deleteAccount(Connection& connection, const Account& chosen,
                             const QString& currentUser)
{
    Transaction transaction(connection);
    QList<Account> accounts;
    const Account* account = nullptr;
    if (const auto problem = findForChange(connection, transaction, chosen, accounts, account))
        return *problem;
    if (const auto refusal = deletionRefusal(accounts, account->number, currentUser))
        return *refusal;
    return store(connection, transaction,
                 QStringLiteral("DELETE FROM [user] WHERE ") + numberCondition(account->number), {},
                 QStringLiteral("已删除用户『%1』。").arg(account->name));
}

AccountOutcome resetPassword(Connection& connection, const Account& chosen, const QString& password,
                             const QString& passwordAgain)
{
    if (const auto refusal = checkPasswords(password, passwordAgain))
        return *refusal;
    Transaction transaction(connection);
    QList<Account> accounts;
    const Account* account = nullptr;
    if (const auto problem = findForChange(connection, transaction, chosen, accounts, account))
        return *problem;
    return store(
        connection, transaction,
        buildUpdate(kUserTable, QStringLiteral("密码=?"), numberCondition(account->number)),
        {password}, QStringLiteral("已重置用户『%1』的密码。").arg(account->name));
}

} // namespace mv
