// users: the 用户管理 window of the administrator.

#include "cli/command.h"
#include "cli/tableoutput.h"
#include "cli/terminal.h"
#include "common/reportlistmodel.h"
#include "db/builders.h"
#include "db/connection.h"
#include "users/accounts.h"

namespace mv::cli {

namespace {

QString yesNo(bool granted)
{
    return granted ? u"是"_qs : u"否"_qs;
}

// --audit or --data as yes/no; the current value when the option is not given.
std::optional<bool> readRight(const QCommandLineParser& args, const QString& name, bool current,
                              int* usage)
{
    if (!given(args, name))
        return current;
    const QString value = optionValue(args, name);
    if (value == u"yes")
        return true;
    if (value == u"no")
        return false;
    *usage = usageError(u"--%1 只能是 yes 或 no。"_qs.arg(name));
    return std::nullopt;
}

// The new password typed twice: MORVANE_NEW_PASSWORD for both, else asked on the terminal.
// Empty when neither, which the account functions refuse.
void newPassword(QString* password, QString* again)
{
    if (qEnvironmentVariableIsSet("MORVANE_NEW_PASSWORD")) {
        *password = *again = qEnvironmentVariable("MORVANE_NEW_PASSWORD");
        return;
    }
    if (readSecret(u"新密码："_qs, password))
        readSecret(u"再输入一次新密码："_qs, again);
}

int listUsers(const Command& command, const QList<Account>& accounts)
{
    OutputFormat format = OutputFormat::Table;
    if (given(command.args, u"format"_qs) &&
        !parseOutputFormat(optionValue(command.args, u"format"_qs), &format))
        return usageError(u"--format 只能是 table、csv 或 json。"_qs);
    const QList<ReportColumn> columns{{u"编号"_qs, 60, Qt::AlignRight | Qt::AlignVCenter},
                                      {u"用户"_qs, 180},
                                      {u"审核"_qs, 90},
                                      {u"数据操作"_qs, 90}};
    QList<QStringList> rows;
    for (const Account& account : accounts)
        rows.append({QString::number(account.number), account.name, yesNo(account.auditRight),
                     yesNo(account.dataRight)});
    return printList(format, columns, rows);
}

} // namespace

int runUsers(const Command& command)
{
    // The window offers 用户管理 to the administrator only.
    if (!isAdministrator(command.connection, command.user))
        return refuse(u"只有系统管理员可以管理用户。"_qs);
    const QStringList arguments = command.args.positionalArguments();
    const QString action = arguments.at(0);
    const QString name = arguments.value(1);
    const bool named = arguments.size() == 2;
    if (action == u"list" && !named) {
        bool ok = false;
        const QList<Account> accounts = listAccounts(command.connection, &ok);
        if (!ok)
            return refuse(u"无法读取用户列表："_qs + command.connection.lastErrorForUser());
        return listUsers(command, accounts);
    }
    if (!named || (action != u"add" && action != u"rights" && action != u"reset-password"))
        return usageError(u"用法：morvane users list | add NAME | rights NAME | "
                          u"reset-password NAME"_qs);

    int usage = ExitDone;
    if (action == u"add") {
        NewAccount account;
        account.name = name;
        const auto audit = readRight(command.args, u"audit"_qs, false, &usage);
        const auto data = readRight(command.args, u"data"_qs, false, &usage);
        if (!audit || !data)
            return usage;
        account.auditRight = *audit;
        account.dataRight = *data;
        newPassword(&account.password, &account.passwordAgain);
        return report(addAccount(command.connection, account));
    }

    bool ok = false;
    const QList<Account> accounts = listAccounts(command.connection, &ok);
    if (!ok)
        return refuse(u"无法读取用户列表："_qs + command.connection.lastErrorForUser());
    // Names are matched exactly, as the login matches them.
    const auto found = std::find_if(accounts.begin(), accounts.end(), [&name](const Account& a) {
        return compareTexts(a.name, name) == 0;
    });
    if (found == accounts.end())
        return refuse(u"没有这用户"_qs);
    if (action == u"rights") {
        if (!given(command.args, u"audit"_qs) && !given(command.args, u"data"_qs))
            return usageError(u"请用 --audit 或 --data 给出要设置的权限。"_qs);
        const auto audit = readRight(command.args, u"audit"_qs, found->auditRight, &usage);
        const auto data = readRight(command.args, u"data"_qs, found->dataRight, &usage);
        if (!audit || !data)
            return usage;
        return report(changeRights(command.connection, *found, *audit, *data));
    }
    QString password;
    QString again;
    newPassword(&password, &again);
    return report(resetPassword(command.connection, *found, password, again));
}

} // namespace mv::cli
