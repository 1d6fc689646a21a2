#include "app/options.h"

#include "cli/subcommand.h"

#include <QCommandLineParser>

namespace mv {

ProgramOptions parseProgramOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Morvane 原材料仓库管理\n\n") +
                                     cli::subcommandList() +
                                     QStringLiteral("“morvane help 子命令”显示子命令的帮助。"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(
        QStringLiteral("home"),
        QStringLiteral(
            "数据目录（存放 db.mdb、备份和打印模板）；也可用环境变量 MORVANE_HOME 指定。"),
        QStringLiteral("DIR"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("首次创建数据库时填入演示数据（约 40 种材料、3 个月的出入库单据）。"));
    const QCommandLineOption importFile(
        QStringLiteral("import-mdb"),
        QStringLiteral("把 Access 数据库 FILE 导入数据目录中新建的 db.mdb（已有 db.mdb 时拒绝），"
                       "打印各表行数后退出，不打开窗口。"),
        QStringLiteral("FILE"));
    const QCommandLineOption importCharset(
        QStringLiteral("import-charset"),
        QStringLiteral("Access 97 (Jet 3) 文件中文字的代码页，默认 GBK（如 CP1252）。"),
        QStringLiteral("CHARSET"), QStringLiteral("GBK"));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("使用 PostgreSQL 服务器上的数据库，如 postgresql://用户@主机:5432/数据库"
                       "（没有密码时启动时询问）；也可用环境变量 MORVANE_DATABASE 指定。"
                       "优先于“数据设置”中保存的选择。"),
        QStringLiteral("URL"));
    const QCommandLineOption paths(
        QStringLiteral("paths"),
        QStringLiteral("显示数据目录和所用的入库单、领料单打印模板文件后退出，不打开窗口。"));
    parser.addOption(home);
    parser.addOption(database);
    parser.addOption(demo);
    parser.addOption(importFile);
    parser.addOption(importCharset);
    parser.addOption(paths);

    ProgramOptions options;
    if (!parser.parse(arguments)) {
        options.ok = false;
        options.error = parser.errorText();
        return options;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    options.home = parser.value(home);
    options.database = parser.value(database);
    options.demo = parser.isSet(demo);
    options.importFile = parser.value(importFile);
    options.importCharset = parser.value(importCharset);
    options.showPaths = parser.isSet(paths);
    return options;
}

} // namespace mv
