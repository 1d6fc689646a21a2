// The subcommands run as a user runs them: the built program in a process of its own, with
// no display, on a scratch data directory. Lists are compared with what the window's
// functions give on the same data; files are read back by independent readers (Python's csv
// module and xlrd).

#include "common/reportlistmodel.h"
#include "db/connection.h"
#include "stock/monthlysummary.h"
#include "stock/stocklist.h"
#include "stock/stocksearch.h"
#include "support/tempdatastore.h"
#include "support/workbookreader.h"
#include "users/accounts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace mv;

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// The list as the window shows it: titles first, then the rows.
QList<QStringList> withTitles(const ReportListModel& list)
{
    QStringList titles;
    for (int c = 0; c < list.columnCount(); ++c)
        titles.append(list.columnTitle(c));
    return QList<QStringList>{titles} + list.cellTexts();
}

// Rows of a CSV file read by Python's csv module.
QList<QStringList> readCsv(const QString& path)
{
    QProcess python;
    python.start(u"/usr/bin/python3"_qs,
                 {u"-c"_qs,
                  u"import csv, json, sys\n"
                  "rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', "
                  "newline='')))\n"
                  "sys.stdout.write(json.dumps(rows))"_qs,
                  path});
    python.waitForFinished(60000);
    QList<QStringList> rows;
    for (const QJsonValue row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        rows.append(row.toVariant().toStringList());
    return rows;
}

// Rows of the JSON output, as texts in the order of titles, behind the titles.
QList<QStringList> readJson(const QString& text, const QStringList& titles)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return {{error.errorString()}};
    QList<QStringList> rows{titles};
    for (const QJsonValue value : document.array()) {
        const QJsonObject object = value.toObject();
        if (object.size() != titles.size())
            return {{u"wrong number of keys"_qs}};
        QStringList row;
        for (const QString& title : titles)
            row.append(object.value(title).toString());
        rows.append(row);
    }
    return rows;
}

} // namespace

class TestSubcommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TempDataStore> m_store;
    QTemporaryDir m_scratch;

    QString home() const { return m_store->directory(); }

    // Runs the program without a display and without a platform: the subcommands need
    // neither. MORVANE_PASSWORD is admin's unless extra says otherwise.
    Run run(const QStringList& arguments, const QHash<QString, QString>& extra = {},
            const std::function<void(QProcess&)>& setUp = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "MORVANE_HOME",
                                 "MORVANE_DATABASE", "MORVANE_NEW_PASSWORD"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"XDG_CONFIG_HOME"_qs, m_scratch.filePath(u"config"_qs));
        environment.insert(u"MORVANE_PASSWORD"_qs, u"admin"_qs);
        for (auto it = extra.begin(); it != extra.end(); ++it)
            environment.insert(it.key(), it.value());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setStandardInputFile(QProcess::nullDevice());
        if (setUp)
            setUp(program);
        program.start(QStringLiteral(MORVANE_PROGRAM), arguments);
        Run result;
        if (!program.waitForFinished(120000))
            return result;
        result.code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
        result.out = QString::fromUtf8(program.readAllStandardOutput());
        result.err = QString::fromUtf8(program.readAllStandardError());
        return result;
    }

    Run asAdmin(const QStringList& arguments, const QHash<QString, QString>& extra = {},
                const std::function<void(QProcess&)>& setUp = {})
    {
        return run(arguments + QStringList{u"--home"_qs, home(), u"--user"_qs, u"admin"_qs}, extra,
                   setUp);
    }

    QList<QStringList> coreStock()
    {
        ReportListModel list;
        RefreshStockList(m_store->connection(), list);
        return withTitles(list);
    }

    QList<Account> accounts() { return listAccounts(m_store->connection()); }

private slots:
    void initTestCase()
    {
        OpenOptions options;
        options.demoData = true;
        m_store = std::make_unique<test::TempDataStore>(options);
        QVERIFY(m_store->isValid() && !m_store->onServer());
        // Texts CSV and JSON must quote or escape.
        m_store->addLine(u"型材,\"断桥\""_qs, u"A\\B 60"_qs, u"入库"_qs, u"12"_qs, u"2026-01-05"_qs,
                         u"铝材"_qs, u"支"_qs);
    }

    void stockEqualsTheWindowsList()
    {
        const QList<QStringList> expected = coreStock();
        QVERIFY(expected.size() > 10);

        const Run csv = asAdmin({u"stock"_qs, u"--format"_qs, u"csv"_qs});
        QCOMPARE(csv.code, 0);
        QCOMPARE(csv.err, QString());
        QFile file(m_scratch.filePath(u"stock.csv"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(csv.out.toUtf8());
        file.close();
        QCOMPARE(test::withoutTrailingEmpties(readCsv(file.fileName())),
                 test::withoutTrailingEmpties(expected));

        const Run json = asAdmin({u"stock"_qs, u"--format"_qs, u"json"_qs});
        QCOMPARE(json.code, 0);
        QCOMPARE(readJson(json.out, expected.at(0)), expected);

        const Run table = asAdmin({u"stock"_qs});
        QCOMPARE(table.code, 0);
        const QStringList lines = table.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        QVERIFY(lines.at(1).startsWith(expected.at(1).at(0)));
        QVERIFY(lines.at(1).contains(expected.at(1).at(StockColName)));

        // The search of the 搜索 window, on the model field.
        ReportListModel found;
        SearchStock(m_store->connection(), found, StockSearchField::Model, u"A\\B"_qs);
        QCOMPARE(found.rowCount(), 1);
        const Run search = asAdmin({u"stock"_qs, u"--search"_qs, u"A\\B"_qs, u"--field"_qs,
                                    u"model"_qs, u"--format"_qs, u"json"_qs});
        QCOMPARE(search.code, 0);
        QCOMPARE(readJson(search.out, expected.at(0)), withTitles(found));
    }

    void summaryEqualsTheWindowsSummary()
    {
        const QDate to = QDate::currentDate();
        const QDate from = to.addDays(-40);
        ReportListModel list;
        BuildMonthlySummary(m_store->connection(), list, from, to);
        const QList<QStringList> expected = withTitles(list);
        QVERIFY(expected.size() > 10);
        const Run json =
            asAdmin({u"summary"_qs, u"--from"_qs, from.toString(Qt::ISODate), u"--to"_qs,
                     to.toString(Qt::ISODate), u"--format"_qs, u"json"_qs});
        QCOMPARE(json.code, 0);
        // Progress goes only to a terminal.
        QCOMPARE(json.err, QString());
        QCOMPARE(readJson(json.out, expected.at(0)), expected);

        const Run reversed = asAdmin({u"summary"_qs, u"--from"_qs, to.toString(Qt::ISODate),
                                      u"--to"_qs, from.toString(Qt::ISODate)});
        QCOMPARE(reversed.code, 1);
        QCOMPARE(reversed.err.trimmed(), u"统计的起始日期晚于结束日期，请重新选择日期！"_qs);
        QVERIFY(reversed.out.isEmpty());
    }

    void exportsReadBack()
    {
        const QList<QStringList> stock = test::withoutTrailingEmpties(coreStock());
        for (const QString& suffix : {u"xls"_qs, u"xlsx"_qs}) {
            const QString path = m_scratch.filePath(u"库存."_qs + suffix);
            const Run done = asAdmin({u"export"_qs, u"stock"_qs, u"-o"_qs, path});
            QCOMPARE(done.code, 0);
            const test::ReadWorkbook book = test::readWorkbook(path);
            QVERIFY2(book.ok, qPrintable(book.error));
            QCOMPARE(book.sheets.size(), 1);
            QCOMPARE(book.sheets.at(0).name, u"库存"_qs);
            QCOMPARE(book.sheets.at(0).rows, stock);
        }

        const QDate from(2026, 1, 1);
        const QDate to(2026, 1, 31);
        ReportListModel summary;
        BuildMonthlySummary(m_store->connection(), summary, from, to);
        const QString csvPath = m_scratch.filePath(u"汇总.csv"_qs);
        const Run csv = asAdmin({u"export"_qs, u"summary"_qs, u"--from"_qs, u"2026-01-01"_qs,
                                 u"--to"_qs, u"2026-1-31"_qs, u"--output"_qs, csvPath});
        QCOMPARE(csv.code, 0);
        QCOMPARE(readCsv(csvPath), withTitles(summary));

        // Texts a spreadsheet would run as formulas are exported inert; a number stays one.
        m_store->addLine(u"=1+2"_qs, u"-3+4"_qs, u"入库"_qs, u"5"_qs, u"2026-01-05"_qs);
        const QString inert = m_scratch.filePath(u"inert.csv"_qs);
        QCOMPARE(asAdmin({u"export"_qs, u"stock"_qs, u"-o"_qs, inert}).code, 0);
        const QList<QStringList> rows = readCsv(inert);
        QVERIFY(std::any_of(rows.cbegin(), rows.cend(), [](const QStringList& row) {
            return row.contains(u"'=1+2"_qs) && row.contains(u"'-3+4"_qs) && row.contains(u"5"_qs);
        }));

        // A file that cannot be written is a failure, said on stderr.
        const Run failed = asAdmin(
            {u"export"_qs, u"stock"_qs, u"-o"_qs, m_scratch.filePath(u"missing/dir/x.xls"_qs)});
        QCOMPARE(failed.code, 1);
        QVERIFY(!failed.err.isEmpty());
        QVERIFY(failed.out.isEmpty());
    }

    void loginRefusals()
    {
        const Run wrong = asAdmin({u"stock"_qs}, {{u"MORVANE_PASSWORD"_qs, u"wrong"_qs}});
        QCOMPARE(wrong.code, 1);
        QCOMPARE(wrong.err.trimmed(), u"密码错误"_qs);
        QVERIFY(wrong.out.isEmpty());
        // No password anywhere and no terminal to ask on: the login's own refusal.
        const Run missing = run({u"backup"_qs, u"--home"_qs, home(), u"--user"_qs, u"admin"_qs},
                                {{u"MORVANE_PASSWORD"_qs, QString()}});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err.trimmed(), u"登录密码还没有输入！"_qs);
        const Run nobody = run({u"stock"_qs, u"--home"_qs, home(), u"--user"_qs, u"nobody"_qs});
        QCOMPARE(nobody.code, 1);
        QCOMPARE(nobody.err.trimmed(), u"没有这用户"_qs);
        QVERIFY(QDir(QDir(home()).filePath(u"datebak"_qs)).entryList({u"*.mdbbak"_qs}).isEmpty());
    }

    void failedReadsAreRefused()
    {
        m_store->exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
        const QString output = m_scratch.filePath(u"unread.csv"_qs);
        for (const QStringList& arguments :
             {QStringList{u"stock"_qs}, QStringList{u"summary"_qs},
              QStringList{u"export"_qs, u"stock"_qs, u"-o"_qs, output}}) {
            const Run failed = asAdmin(arguments);
            QCOMPARE(failed.code, 1);
            QVERIFY2(failed.err.contains(u"失败："_qs), qPrintable(failed.err));
            QVERIFY(failed.out.isEmpty());
        }
        QVERIFY(!QFile::exists(output));
        m_store->exec(u"ALTER TABLE yclnote_gone RENAME TO yclnote"_qs);
    }

    // A full disk is a failure a script sees: the list written to a full device, and an export
    // cut short by a file size limit standing in for the full disk, leaving no file.
    void fullDiskIsAFailure()
    {
        const Run listed = asAdmin({u"stock"_qs}, {}, [](QProcess& program) {
            program.setStandardOutputFile(u"/dev/full"_qs);
        });
        QCOMPARE(listed.code, 1);
        QCOMPARE(listed.err.trimmed(), u"无法写出结果（磁盘空间可能已满）。"_qs);
        const QString output = m_scratch.filePath(u"full.csv"_qs);
        const Run exported =
            asAdmin({u"export"_qs, u"stock"_qs, u"-o"_qs, output}, {}, [](QProcess& program) {
                program.setChildProcessModifier([] {
                    std::signal(SIGXFSZ, SIG_IGN);
                    rlimit limit{};
                    getrlimit(RLIMIT_FSIZE, &limit);
                    limit.rlim_cur = 64;
                    setrlimit(RLIMIT_FSIZE, &limit);
                });
            });
        QCOMPARE(exported.code, 1);
        QVERIFY2(exported.err.contains(u"文件没有写完"_qs), qPrintable(exported.err));
        QVERIFY(!QFile::exists(output));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no user") << QStringList{u"stock"_qs, u"--home"_qs, home()};
        QTest::newRow("unknown subcommand") << QStringList{u"stok"_qs};
        QTest::newRow("unknown option") << QStringList{u"stock"_qs, u"--colour"_qs};
        QTest::newRow("format") << QStringList{u"stock"_qs,  u"--user"_qs, u"admin"_qs,
                                               u"--home"_qs, home(),       u"--format"_qs,
                                               u"xml"_qs};
        QTest::newRow("date") << QStringList{u"summary"_qs,   u"--user"_qs, u"admin"_qs,
                                             u"--home"_qs,    home(),       u"--from"_qs,
                                             u"2026-02-30"_qs};
        QTest::newRow("export what")
            << QStringList{u"export"_qs, u"moon"_qs,  u"-o"_qs,     u"x.xls"_qs,
                           u"--user"_qs, u"admin"_qs, u"--home"_qs, home()};
        QTest::newRow("restore without name")
            << QStringList{u"restore"_qs, u"--user"_qs, u"admin"_qs, u"--home"_qs, home()};
        QTest::newRow("help of nothing") << QStringList{u"help"_qs, u"moon"_qs};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        // Found before the password is asked for: none is given.
        const Run result = run(arguments, {{u"MORVANE_PASSWORD"_qs, QString()}});
        QCOMPARE(result.code, 2);
        QVERIFY(!result.err.isEmpty());
        QVERIFY(result.out.isEmpty());
    }

    void helpAndProgramOptions()
    {
        const Run help = run({u"help"_qs, u"export"_qs});
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.contains(u"morvane export stock|summary"_qs));
        QCOMPARE(run({u"export"_qs, u"--help"_qs}).out, help.out);
        const Run all = run({u"help"_qs});
        QCOMPARE(all.code, 0);
        for (const QString& name : {u"backup"_qs, u"restore"_qs, u"users"_qs, u"summary"_qs})
            QVERIFY(all.out.contains(u"morvane "_qs + name));
        // No subcommand and no display to open (none named, or one that does not answer): the
        // user is told why, and the process ends with 1 instead of an abort.
        const Run window = run({u"--home"_qs, home()});
        QCOMPARE(window.code, 1);
        QVERIFY2(window.err.startsWith(u"没有图形显示"_qs), qPrintable(window.err));
        const Run unreachable = run({u"--home"_qs, home()}, {{u"DISPLAY"_qs, u":93"_qs}});
        QCOMPARE(unreachable.code, 1);
        QVERIFY2(unreachable.err.startsWith(u"无法连接图形显示 :93"_qs),
                 qPrintable(unreachable.err));
        const Run version = run({u"--version"_qs});
        QCOMPARE(version.code, 0);
        QVERIFY(!version.out.isEmpty());
    }

    void backupAndRestore()
    {
        const QList<QStringList> before = coreStock();
        const Run backup = asAdmin({u"backup"_qs, u"月末"_qs});
        QCOMPARE(backup.code, 0);
        QVERIFY(QFile::exists(QDir(home()).filePath(u"datebak/月末.mdbbak"_qs)));
        m_store->addLine(u"新材料"_qs, u"X1"_qs, u"入库"_qs, u"5"_qs, u"2026-02-01"_qs);
        QVERIFY(coreStock() != before);

        // Only the administrator restores; the data stays as it is for anyone else.
        const Run account = asAdmin({u"users"_qs, u"add"_qs, u"仓管"_qs, u"--data"_qs, u"yes"_qs},
                                    {{u"MORVANE_NEW_PASSWORD"_qs, u"pw"_qs}});
        QCOMPARE(account.code, 0);
        const Run refused =
            run({u"restore"_qs, u"月末"_qs, u"--home"_qs, home(), u"--user"_qs, u"仓管"_qs},
                {{u"MORVANE_PASSWORD"_qs, u"pw"_qs}});
        QCOMPARE(refused.code, 1);
        QCOMPARE(refused.err.trimmed(), u"只有系统管理员可以恢复数据。"_qs);
        QVERIFY(coreStock() != before);

        const Run unknown = asAdmin({u"restore"_qs, u"没有的"_qs});
        QCOMPARE(unknown.code, 1);
        QVERIFY(!unknown.err.isEmpty());

        const Run restored = asAdmin({u"restore"_qs, u"月末"_qs});
        QCOMPARE(restored.code, 0);
        QCOMPARE(coreStock(), before);
        // The undo copy holds the data as it was, and restores it back.
        const QStringList undo =
            QDir(QDir(home()).filePath(u"datebak"_qs)).entryList({u"恢复前-*.mdbbak"_qs});
        QCOMPARE(undo.size(), 1);
        QCOMPARE(asAdmin({u"restore"_qs, undo.at(0)}).code, 0);
        QVERIFY(coreStock() != before);

        // A backup named like a file, and one named with a leading ".", are found by their own
        // names: "月末.mdbbak" is not taken for "月末".
        const QList<QStringList> changed = coreStock();
        QCOMPARE(asAdmin({u"backup"_qs, u"月末.mdbbak"_qs}).code, 0);
        QCOMPARE(asAdmin({u"backup"_qs, u".夜间"_qs}).code, 0);
        QCOMPARE(asAdmin({u"restore"_qs, u"月末"_qs}).code, 0);
        QCOMPARE(asAdmin({u"restore"_qs, u"月末.mdbbak"_qs}).code, 0);
        QCOMPARE(coreStock(), changed);
        QCOMPARE(asAdmin({u"restore"_qs, u"月末"_qs}).code, 0);
        QCOMPARE(asAdmin({u"restore"_qs, u".夜间"_qs}).code, 0);
        QCOMPARE(coreStock(), changed);
    }

    void accountsManagedByTheAdministrator()
    {
        const QHash<QString, QString> password{{u"MORVANE_NEW_PASSWORD"_qs, u"s3cret"_qs}};
        QCOMPARE(
            asAdmin({u"users"_qs, u"add"_qs, u"clerk"_qs, u"--audit"_qs, u"yes"_qs}, password).code,
            0);
        const Run again = asAdmin({u"users"_qs, u"add"_qs, u"clerk"_qs}, password);
        QCOMPARE(again.code, 1);
        QVERIFY(!again.err.isEmpty());

        QCOMPARE(asAdmin({u"users"_qs, u"rights"_qs, u"clerk"_qs, u"--data"_qs, u"yes"_qs}).code,
                 0);
        // No right named: a usage error, not "修改" of nothing.
        QCOMPARE(asAdmin({u"users"_qs, u"rights"_qs, u"clerk"_qs}).code, 2);
        const QList<Account> stored = accounts();
        const Run list = asAdmin({u"users"_qs, u"list"_qs, u"--format"_qs, u"json"_qs});
        QCOMPARE(list.code, 0);
        const QJsonArray rows = QJsonDocument::fromJson(list.out.toUtf8()).array();
        QCOMPARE(rows.size(), stored.size());
        for (qsizetype i = 0; i < stored.size(); ++i) {
            const QJsonObject row = rows.at(i).toObject();
            QCOMPARE(row.value(u"用户"_qs).toString(), stored.at(i).name);
            QCOMPARE(row.value(u"审核"_qs).toString() == u"是", stored.at(i).auditRight);
            QCOMPARE(row.value(u"数据操作"_qs).toString() == u"是", stored.at(i).dataRight);
        }
        QVERIFY(std::any_of(stored.begin(), stored.end(), [](const Account& a) {
            return a.name == u"clerk" && a.auditRight && a.dataRight;
        }));

        // The clerk reads the stock as in the window, but manages no accounts.
        const auto asClerk = [this](const QStringList& arguments, const QString& password) {
            return run(arguments + QStringList{u"--home"_qs, home(), u"--user"_qs, u"clerk"_qs},
                       {{u"MORVANE_PASSWORD"_qs, password}});
        };
        QCOMPARE(asClerk({u"stock"_qs}, u"s3cret"_qs).code, 0);
        const Run managing = asClerk({u"users"_qs, u"list"_qs}, u"s3cret"_qs);
        QCOMPARE(managing.code, 1);
        QVERIFY(!managing.err.isEmpty());

        QCOMPARE(asAdmin({u"users"_qs, u"reset-password"_qs, u"clerk"_qs},
                         {{u"MORVANE_NEW_PASSWORD"_qs, u"n3w"_qs}})
                     .code,
                 0);
        QCOMPARE(asClerk({u"stock"_qs}, u"s3cret"_qs).code, 1);
        QCOMPARE(asClerk({u"stock"_qs}, u"n3w"_qs).code, 0);
        QCOMPARE(asAdmin({u"users"_qs, u"rights"_qs, u"nobody"_qs}).code, 1);
    }

    void lockedDatabase()
    {
        // Another program holding the whole file: nothing is read or shown as data.
        Connection other;
        QVERIFY(other.openSqlite(m_store->databasePath()));
        QVERIFY(other.execute(u"BEGIN EXCLUSIVE"_qs));
        const Run stock = asAdmin({u"stock"_qs, u"--format"_qs, u"csv"_qs});
        QCOMPARE(stock.code, 1);
        QVERIFY(stock.out.isEmpty());
        QVERIFY2(stock.err.contains(u"数据库正被另一个程序使用"_qs), qPrintable(stock.err));
        QVERIFY(other.execute(u"ROLLBACK"_qs));

        // Another program writing: reading goes on, a change fails and says so.
        QVERIFY(other.execute(u"BEGIN IMMEDIATE"_qs));
        QVERIFY(other.execute(u"UPDATE user SET 用户=用户 WHERE 编号=1"_qs));
        QCOMPARE(asAdmin({u"stock"_qs}).code, 0);
        const Run add =
            asAdmin({u"users"_qs, u"add"_qs, u"晚到"_qs}, {{u"MORVANE_NEW_PASSWORD"_qs, u"pw"_qs}});
        QCOMPARE(add.code, 1);
        QVERIFY2(add.err.contains(u"数据库正被另一个程序使用"_qs), qPrintable(add.err));
        QVERIFY(other.execute(u"ROLLBACK"_qs));
        for (const Account& account : accounts())
            QVERIFY(account.name != u"晚到");
    }

    void dataDirectoryFromTheEnvironment()
    {
        const Run stock = run({u"stock"_qs, u"--user"_qs, u"admin"_qs, u"--format"_qs, u"csv"_qs},
                              {{u"MORVANE_HOME"_qs, home()}});
        QCOMPARE(stock.code, 0);
        QCOMPARE(stock.out, asAdmin({u"stock"_qs, u"--format"_qs, u"csv"_qs}).out);
    }
};

QTEST_GUILESS_MAIN(TestSubcommands)
#include "tst_subcommands.moc"
