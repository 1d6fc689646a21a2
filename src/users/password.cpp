#include "users/password.h"

#include "db/builders.h"
#include "db/connection.h"

namespace mv {

namespace {

const QString kUserTable = QStringLiteral("user");
const QString kPasswordColumn = QStringLiteral("密码");

const QString kAccountCondition = QStringLiteral("用户=?");

// The stored password of the account, or nothing when the account cannot be read.
std::optional<QString> storedPassword(Connection& connection, const QString& name)
{
    auto record = connection.query(buildSelect(kUserTable, kAccountCondition), {name});
    if (!record || record->eof())
        return std::nullopt;
    const QString password = record->field(kPasswordColumn);
    record->close();
    return password;
}

} // namespace

bool storePassword(Connection& connection, const QString& name, const QString& password,
                   QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!connection.execute(buildUpdate(kUserTable, kPasswordColumn + u"=?"_qs, kAccountCondition),
                            {password, name}))
        return fail(connection.lastErrorForUser());
    const std::optional<QString> stored = storedPassword(connection, name);
    if (!stored)
        return fail(QStringLiteral("找不到用户“%1”。").arg(name));
    if (*stored != password)
        return fail(QStringLiteral("数据库没有保存新密码。"));
    return true;
}

PasswordOutcome changePassword(Connection& connection, const QString& name,
                               const QString& oldPassword, const QString& newPassword,
                               const QString& repeated)
{
    PasswordOutcome outcome;
    outcome.title = QStringLiteral("提示");
    const QString current = storedPassword(connection, name).value_or(QString());
    if (oldPassword.isEmpty()) {
        outcome.message = QStringLiteral("请输入旧密码");
        outcome.focus = PasswordField::OldPassword;
        return outcome;
    }
    if (compareTexts(oldPassword, current) != 0) {
        outcome.message = QStringLiteral("旧密码错误");
        outcome.focus = PasswordField::OldPassword;
        return outcome;
    }
    if (newPassword != repeated) {
        outcome.message = QStringLiteral("2次密码不一致，无法修改密码");
        outcome.focus = PasswordField::NewPassword;
        return outcome;
    }
    // The login asks for a password and would refuse an empty one: storing it would lock the
    // user out, so it is refused here as the account window refuses it.
    if (newPassword.isEmpty()) {
        outcome.message = QStringLiteral("密码不能为空！");
        outcome.focus = PasswordField::NewPassword;
        return outcome;
    }
    QString error;
    if (!storePassword(connection, name, newPassword, &error)) {
        outcome.message = QStringLiteral("密码没有修改：") + error;
        outcome.title = QStringLiteral("错误");
        outcome.focus = PasswordField::NewPassword;
        return outcome;
    }
    outcome.done = true;
    outcome.message = QStringLiteral("密码修改成功！ 新密码为『") + newPassword + u'』';
    return outcome;
}

} // namespace mv
