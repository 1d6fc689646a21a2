#include "cli/subcommand.h"

#include "cli/command.h"
#include "cli/terminal.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "users/login.h"

#include <QCommandLineParser>
#include <QScopeGuard>

namespace mv::cli {

namespace {

struct OptionDef
{
    QStringList names;
    QString valueName; // empty for a flag
    QString description;
};

struct SubcommandDef
{
    QString name;
    QString synopsis;
    QString description;
    QList<OptionDef> options;
    int minArguments = 0;
    int maxArguments = 0;
    int (*run)(const Command&) = nullptr;
    // Checks the options before the login; nothing when they are usable.
    std::optional<int> (*checkUsage)(const QCommandLineParser&) = nullptr;
};

const OptionDef kFormat{{u"format"_qs},
                        u"FORMAT"_qs,
                        u"输出格式：table（对齐的表格，默认）、csv 或 json（供脚本使用）。"_qs};
const OptionDef kSearch{
    {u"search"_qs}, u"TEXT"_qs, u"只列出所选字段含有 TEXT 的材料，如“搜索”窗口。"_qs};
const OptionDef kField{
    {u"field"_qs},
    u"FIELD"_qs,
    u"--search 查找的字段：category（库存分类）、name（名称，默认）或 model（型号）。"_qs};
const OptionDef kFrom{
    {u"from"_qs}, u"DATE"_qs, u"统计期间的第一天（如 2024-05-01），默认本月 1 日。"_qs};
const OptionDef kTo{{u"to"_qs}, u"DATE"_qs, u"统计期间的最后一天（含），默认今天。"_qs};

// Every subcommand takes these too.
const QList<OptionDef>& commonOptions()
{
    static const QList<OptionDef> options{
        {{u"user"_qs},
         u"NAME"_qs,
         u"登录的用户名；密码取自环境变量 MORVANE_PASSWORD，没有时在终端上询问（不回显）。"_qs},
        {{u"home"_qs}, u"DIR"_qs, u"数据目录；也可用环境变量 MORVANE_HOME 指定。"_qs},
        {{u"database"_qs},
         u"URL"_qs,
         u"使用 PostgreSQL 服务器上的数据库；也可用环境变量 MORVANE_DATABASE 指定。"_qs},
        {{u"h"_qs, u"help"_qs}, {}, u"显示此子命令的帮助。"_qs},
    };
    return options;
}

const QList<SubcommandDef>& subcommands()
{
    static const QList<SubcommandDef> defs{
        {u"stock"_qs,
         u"morvane stock [--search TEXT [--field FIELD]] [--format FORMAT] --user NAME"_qs,
         u"列出库存：每种材料的库存分类、名称、型号、现存量和单位，与“库存”页相同。"_qs,
         {kSearch, kField, kFormat},
         0,
         0,
         &runStock,
         &checkListUsage},
        {u"summary"_qs,
         u"morvane summary [--from DATE] [--to DATE] [--format FORMAT] --user NAME"_qs,
         u"月度汇总：每种材料的上月库存量、本月库存量、本月出库和本月入库，与“统计”相同。"_qs,
         {kFrom, kTo, kFormat},
         0,
         0,
         &runSummary,
         &checkListUsage},
        {u"export"_qs,
         u"morvane export stock|summary [--search TEXT [--field FIELD]] [--from DATE --to DATE] "
         u"-o FILE --user NAME"_qs,
         u"把库存列表或月度汇总导出为 Excel 文件（.xls 或 .xlsx，与“保存”相同）或 CSV 文件"
         u"（.csv，UTF-8）。文件名不以 .xls、.xlsx 或 .csv 结尾时加上 .xls；已有的文件被替换。"_qs,
         {{{u"o"_qs, u"output"_qs}, u"FILE"_qs, u"导出到的文件。"_qs}, kSearch, kField, kFrom, kTo},
         1,
         1,
         &runExport,
         &checkExportUsage},
        {u"backup"_qs,
         u"morvane backup [NAME] --user NAME"_qs,
         u"数据备份：把数据库备份到数据目录的 datebak 中，名字默认为今天的日期；"
         u"同名的备份被替换。"_qs,
         {},
         0,
         1,
         &runBackup},
        {u"restore"_qs,
         u"morvane restore NAME --user NAME"_qs,
         u"数据恢复：用 datebak 中名为 NAME 的备份恢复数据（只有系统管理员可以）。"
         u"恢复前当前的数据先备份为“恢复前-日期时间”，需要时可以再恢复回来。"_qs,
         {},
         1,
         1,
         &runRestore},
        {u"users"_qs,
         u"morvane users list [--format FORMAT] | add NAME [--audit yes|no] [--data yes|no] | "
         u"rights NAME [--audit yes|no] [--data yes|no] | reset-password NAME  --user NAME"_qs,
         u"用户管理（只有系统管理员可以）：列出用户、添加用户、设置审核和数据操作权限、"
         u"重设密码。新密码取自环境变量 MORVANE_NEW_PASSWORD，没有时在终端上询问两次。"_qs,
         {{{u"audit"_qs}, u"yes|no"_qs, u"审核权限；rights 不给时保持不变，add 不给时没有。"_qs},
          {{u"data"_qs}, u"yes|no"_qs, u"数据操作权限；rights 不给时保持不变，add 不给时没有。"_qs},
          kFormat},
         1,
         2,
         &runUsers},
    };
    return defs;
}

const SubcommandDef* findSubcommand(const QString& name)
{
    for (const SubcommandDef& def : subcommands())
        if (def.name == name)
            return &def;
    return nullptr;
}

QString optionLabel(const OptionDef& option)
{
    QStringList names;
    for (const QString& name : option.names)
        names.append(name.size() == 1 ? u"-"_qs + name : u"--"_qs + name);
    QString label = names.join(u", "_qs);
    if (!option.valueName.isEmpty())
        label += u" "_qs + option.valueName;
    return label;
}

QString helpText(const SubcommandDef& def)
{
    QString text = u"用法："_qs + def.synopsis + u"\n\n"_qs + def.description + u"\n\n选项：\n"_qs;
    QList<OptionDef> options = def.options;
    options += commonOptions();
    for (const OptionDef& option : options)
        text += u"  "_qs + optionLabel(option).leftJustified(22) + u" "_qs + option.description +
                u"\n"_qs;
    return text;
}

int showHelp(const QStringList& arguments)
{
    if (arguments.size() > 2)
        return usageError(u"用法：morvane help [子命令]"_qs);
    if (arguments.size() == 1) {
        printLine(stdout, u"用法：morvane [选项] 子命令 ...\n\n"_qs + subcommandList() +
                              u"\n“morvane help 子命令”显示子命令的帮助；"
                              u"“morvane --help”显示打开窗口时的选项。"_qs);
        return ExitDone;
    }
    const SubcommandDef* def = findSubcommand(arguments.at(1));
    if (!def)
        return usageError(u"没有子命令“%1”。\n\n"_qs.arg(arguments.at(1)) + subcommandList());
    std::fputs(helpText(*def).toUtf8().constData(), stdout);
    return ExitDone;
}

// The password of the login: MORVANE_PASSWORD, else asked on the terminal; empty when
// neither, which the login refuses as the window does.
QString loginPassword(const QString& user)
{
    if (qEnvironmentVariableIsSet("MORVANE_PASSWORD"))
        return qEnvironmentVariable("MORVANE_PASSWORD");
    QString password;
    readSecret(u"用户 %1 的密码："_qs.arg(user), &password);
    return password;
}

} // namespace

bool isSubcommand(const QString& name)
{
    return name == u"help" || findSubcommand(name);
}

QString subcommandList()
{
    QString text = u"不打开窗口的子命令：\n"_qs;
    for (const SubcommandDef& def : subcommands())
        text += u"  "_qs + def.synopsis + u"\n"_qs;
    text += u"  morvane --import-mdb FILE [--import-charset CHARSET]\n"_qs;
    return text;
}

int runSubcommand(const QStringList& arguments, const SubcommandStart& start)
{
    TerminalResponder responder;
    MessageResponder* previous = setMessageResponder(&responder);
    const auto restoreResponder = qScopeGuard([previous] { setMessageResponder(previous); });

    if (arguments.value(0) == u"help")
        return showHelp(arguments);
    const SubcommandDef* def = findSubcommand(arguments.value(0));
    if (!def)
        return usageError(u"没有子命令“%1”。"_qs.arg(arguments.value(0)));

    QCommandLineParser parser;
    QList<OptionDef> options = def->options;
    options += commonOptions();
    for (const OptionDef& option : options)
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    // The parser expects the program name first.
    QStringList parsed = arguments;
    parsed.replace(0, u"morvane "_qs + def->name);
    if (!parser.parse(parsed))
        return usageError(parser.errorText() + u"\n用法："_qs + def->synopsis);
    if (parser.isSet(u"help"_qs)) {
        std::fputs(helpText(*def).toUtf8().constData(), stdout);
        return ExitDone;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < def->minArguments || count > def->maxArguments)
        return usageError(u"用法："_qs + def->synopsis);
    const QString user = parser.value(u"user"_qs);
    if (user.isEmpty())
        return usageError(u"请用 --user 指定登录的用户名。\n用法："_qs + def->synopsis);
    if (def->checkUsage)
        if (const std::optional<int> code = def->checkUsage(parser))
            return *code;

    const QString home = parser.isSet(u"home"_qs) ? parser.value(u"home"_qs) : start.home;
    const QString database =
        parser.isSet(u"database"_qs) ? parser.value(u"database"_qs) : start.database;
    const QString dataDirectory = start.dataDirectory(home);
    OpenOptions openOptions;
    const int printed = responder.printed();
    if (!start.chooseDatabase(database, &openOptions)) {
        // An invalid address is explained already; otherwise the server password was needed
        // and nobody could be asked for it.
        if (responder.printed() == printed)
            printLine(stderr, u"没有数据库服务器的密码：请在 --database 的地址中给出，"
                              u"或在终端上运行以便询问。"_qs);
        return ExitRefused;
    }
    Connection connection;
    QString error;
    const bool server = !openOptions.serverUrl.isEmpty();
    const bool open =
        server ? openServerDatabase(connection, openOptions.serverUrl, openOptions, &error)
               : openDataStore(connection, dataDirectory, openOptions, &error);
    if (!open)
        return refuse(error);
    // Backups stay in the data directory with a server database too.
    connection.setHomeDirectory(dataDirectory);

    const LoginOutcome login = logIn(connection, user, loginPassword(user));
    if (!login.done)
        return refuse(login.message);
    return def->run(Command{parser, connection, dataDirectory, user});
}

int refuse(const QString& message)
{
    printLine(stderr, message);
    return ExitRefused;
}

int usageError(const QString& message)
{
    printLine(stderr, message);
    return ExitUsage;
}

int reportMessage(bool done, const QString& message)
{
    if (!message.isEmpty())
        printLine(done ? stdout : stderr, message);
    return done ? ExitDone : ExitRefused;
}

bool given(const QCommandLineParser& args, const QString& name)
{
    const QStringList found = args.optionNames();
    if (found.contains(name))
        return true;
    // Any other name of the same option.
    for (const SubcommandDef& def : subcommands())
        for (const OptionDef& option : def.options)
            if (option.names.contains(name))
                for (const QString& other : option.names)
                    if (found.contains(other))
                        return true;
    return false;
}

QString optionValue(const QCommandLineParser& args, const QString& name)
{
    return given(args, name) ? args.value(name) : QString();
}

QDate parseDateOption(const QString& text)
{
    for (const QString& format : {u"yyyy-MM-dd"_qs, u"yyyy-M-d"_qs, u"yyyy/M/d"_qs}) {
        const QDate date = QDate::fromString(text.trimmed(), format);
        if (date.isValid())
            return date;
    }
    return {};
}

} // namespace mv::cli
