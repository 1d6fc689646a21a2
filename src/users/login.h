#pragma once
// The login check against the user table and the list of offered user names.

#include "common/outcome.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace mv {

class Connection;

// User names ordered by 编号, without the lowest-numbered account: that one is not offered
// in the drop-down but may still log in when its name is typed. nullopt when the accounts
// could not be read (the error in the connection's lastError()).
std::optional<QStringList> offeredUserNames(Connection& connection);
// The statement it runs: the names only, never the passwords of every account.
QString userNameListStatement();

enum class LoginField
{
    None,
    UserName,
    Password
};

// A refusal's message is shown with an empty title.
struct LoginOutcome : Outcome<LoginField>
{
    bool auditRight = false; // ycl审核 is exactly "是"
    bool dataRight = false;  // 数据操作 is exactly "是"
};

// Checks name and password. Names and passwords are compared byte for byte, case-sensitive.
// When the accounts cannot be read the refusal says "读取用户失败：<the database's error>"
// (title "错误") instead of naming a field.
LoginOutcome checkLogin(Connection& connection, const QString& name, const QString& password);

// Runs checkLogin and, on success, sets the process-wide current user and rights.
LoginOutcome logIn(Connection& connection, const QString& name, const QString& password);

} // namespace mv
