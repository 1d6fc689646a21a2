#include "users/login.h"

#include "common/session.h"
#include "db/builders.h"
#include "db/connection.h"

namespace mv {

namespace {
const QString kYes = QStringLiteral("是");
}

QString userNameListStatement()
{
    return QStringLiteral("select 用户 from user  ORDER  BY 编号");
}

std::optional<QStringList> offeredUserNames(Connection& connection)
{
    QStringList names;
    auto users = connection.query(userNameListStatement(), true);
    if (!users)
        return std::nullopt;
    for (; !users->eof(); users->next())
        names.append(users->field(QStringLiteral("用户")));
    users->close();
    if (!names.isEmpty())
        names.removeFirst();
    return names;
}

LoginOutcome checkLogin(Connection& connection, const QString& name, const QString& password)
{
    LoginOutcome outcome;
    if (name.isEmpty()) {
        outcome.message = QStringLiteral("登录用户名还没有输入！");
        outcome.focus = LoginField::UserName;
        return outcome;
    }
    if (password.isEmpty()) {
        outcome.message = QStringLiteral("登录密码还没有输入！");
        outcome.focus = LoginField::Password;
        return outcome;
    }

    // The name is a bound value: whatever it holds, it is only compared with the names.
    auto record =
        connection.query(buildSelect(QStringLiteral("user"), QStringLiteral("用户=?")), {name});
    if (!record) {
        // Not "没有这用户": the accounts could not be read at all.
        outcome.message = QStringLiteral("读取用户失败：") + connection.lastErrorForUser();
        outcome.title = QStringLiteral("错误");
        return outcome;
    }
    const auto field = [&record](const QString& column) {
        return record ? record->field(column) : QString();
    };
    if (compareTexts(field(QStringLiteral("用户")), name) != 0) {
        outcome.message = QStringLiteral("没有这用户");
        outcome.focus = LoginField::UserName;
    } else if (compareTexts(field(QStringLiteral("密码")), password) != 0) {
        outcome.message = QStringLiteral("密码错误");
        outcome.focus = LoginField::Password;
    } else {
        outcome.done = true;
        outcome.auditRight = field(QStringLiteral("ycl审核")) == kYes;
        outcome.dataRight = field(QStringLiteral("数据操作")) == kYes;
    }
    if (record)
        record->close();
    return outcome;
}

LoginOutcome logIn(Connection& connection, const QString& name, const QString& password)
{
    LoginOutcome outcome = checkLogin(connection, name, password);
    if (outcome.done) {
        Session& s = session();
        s.currentUser = name;
        s.auditRight = outcome.auditRight;
        s.dataRight = outcome.dataRight;
    }
    return outcome;
}

} // namespace mv
