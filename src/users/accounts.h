#pragma once
// Account maintenance for the administrator: the list of accounts, adding one, changing its
// two rights, deleting it and resetting its password. Each change is one transaction and
// returns an outcome that says what happened; nothing is reported done that was not stored.

#include "common/outcome.h"

#include <QList>
#include <QString>

#include <optional>

namespace mv {

class Connection;

struct Account
{
    qint64 number = 0; // user.编号
    QString name;      // user.用户, exactly as stored
    bool auditRight = false;
    bool dataRight = false;
};

enum class AccountField
{
    None,
    Name,     // the name box
    Password, // the first password box
    List,     // the account list (no account chosen)
};

// The message is shown after a refusal, a failure or a success.
using AccountOutcome = Outcome<AccountField>;

// The accounts ordered by 编号; ok (when given) is false when the table could not be read.
QList<Account> listAccounts(Connection& connection, bool* ok = nullptr);

// The administrator is the account with the lowest 编号 (created on first start).
bool isAdministrator(Connection& connection, const QString& userName);

// The stored text of a right: "是" when granted, the empty text when not, so that only
// granted rights pass the login's exact test.
QString rightText(bool granted);

struct NewAccount
{
    QString name;
    QString password;
    QString passwordAgain;
    bool auditRight = false;
    bool dataRight = false;
};

// Refuses an empty name, a name already used (compared exactly, as the login compares), an
// empty password (the login would refuse it) and two different passwords.
AccountOutcome addAccount(Connection& connection, const NewAccount& account);

// Changing, deleting and resetting act on the account chosen (as listAccounts gave it): one
// whose number no longer goes with its name (deleted by another session, its number given to
// a new account) is refused as missing rather than another account changed in its place.
AccountOutcome changeRights(Connection& connection, const Account& chosen, bool auditRight,
                            bool dataRight);

// 修改 and 重置密码 act on the account chosen in the list, and names are never changed (the
// documents keep them as typed): the refusal when the name box no longer holds the chosen
// account's name, so that a name typed over it is not taken for the account meant. For 修改,
// which stores the rights only, also when a password was typed, which it would drop.
std::optional<AccountOutcome> renameRefusal(const Account& chosen, const QString& typedName);
std::optional<AccountOutcome> rightsChangeRefusal(const Account& chosen, const QString& typedName,
                                                  const QString& typedPassword);

// The refusal of deleting account `number` from `accounts` (as listAccounts returns them):
// the administrator and currentUser (the user logged in) stay; none when it may go.
std::optional<AccountOutcome> deletionRefusal(const QList<Account>& accounts, qint64 number,
                                              const QString& currentUser);

// Deletes after the same check. Documents keep their maker's and auditor's names as stored
// text.
AccountOutcome deleteAccount(Connection& connection, const Account& chosen,
                             const QString& currentUser);

AccountOutcome resetPassword(Connection& connection, const Account& chosen, const QString& password,
                             const QString& passwordAgain);

} // namespace mv
