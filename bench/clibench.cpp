// Benchmark of `morvane stock --format csv`: the program run as a user runs it (a process of
// its own: start, open the database, log in, list, write CSV to /dev/null) against the bare
// SQL of the same statements stepped through the SQLite C API in this process, on the same
// generated data in the same run. Prints both figures, the ratio with its target and
// PASS/FAIL; exits 2 when the target is missed (full-size runs only).
//
// morvane_clibench [--quick] [--wall-clock] [--lines N] [--items N] [--keep DIR]
//   --keep DIR  generate the data directory in DIR (which must not exist) and keep it, to
//               look into the program's run with a profiler
//   times are processor time (this process for the SQL, the program's process for the run)
//   unless --wall-clock

#include "common/reportlistmodel.h"
#include "common/texts.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "generator.h"
#include "stock/stockfigures.h"
#include "stock/stocklist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <sys/resource.h>
#include <time.h>

using namespace mv;

namespace {

bool g_wallClock = false;

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// Processor time of this process, and of its children that have ended.
double ownSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}
double childSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double bestOf(int runs, const std::function<double()>& clock, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double started = clock();
        timer.start();
        work();
        best = std::min(best, g_wallClock ? timer.nsecsElapsed() / 1e9 : clock() - started);
    }
    return best;
}

void figure(const QString& label, double value)
{
    say(QStringLiteral("  %1 %2 s").arg(label, -52).arg(value, 0, 'f', 4));
}

bool ratio(const QString& label, double value, double limit)
{
    const bool pass = value <= limit;
    say(QStringLiteral("  %1 %2   target <= %3   %4")
            .arg(label, -44)
            .arg(value, 8, 'f', 2)
            .arg(limit)
            .arg(pass ? u"PASS"_qs : u"FAIL"_qs));
    return pass;
}

// Steps through every row of the statement: the database's own work, nothing read out.
void runBare(Connection& connection, const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.sqliteHandle(), text.constData(), int(text.size()),
                           &statement, nullptr) != SQLITE_OK) {
        say(u"!! bare statement failed: "_qs + sql);
        std::exit(3);
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int items = 5000;
    int lines = 500000;
    bool enforce = true;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == u"--quick"_qs) {
            items = 500, lines = 20000, enforce = false;
        } else if (args.at(i) == u"--wall-clock"_qs) {
            g_wallClock = true;
        } else if (args.at(i) == u"--lines"_qs && i + 1 < args.size()) {
            lines = args.at(++i).toInt();
        } else if (args.at(i) == u"--keep"_qs && i + 1 < args.size()) {
            keep = args.at(++i);
        } else if (args.at(i) == u"--items"_qs && i + 1 < args.size()) {
            items = args.at(++i).toInt();
        } else {
            say(u"usage: morvane_clibench [--quick] [--wall-clock] [--lines N] [--items N] "
                "[--keep DIR]"_qs);
            return 3;
        }
    }
    if (!enforce)
        say(u"quick run: small sizes, the target is shown but not enforced"_qs);
    say(g_wallClock ? u"times: wall clock"_qs
                    : u"times: processor time (the program's process for the run)"_qs);

    QTemporaryDir dir(keep.isEmpty() ? QDir::tempPath() + u"/morvane_clibench-XXXXXX"_qs : keep);
    dir.setAutoRemove(keep.isEmpty());
    Connection connection;
    QString error;
    if (!openDataStore(connection, dir.path(), {}, &error)) {
        say(u"!! cannot create the database: "_qs + error);
        return 3;
    }
    GeneratorOptions options;
    options.items = items;
    options.documents = std::max(1, lines / options.linesPerDocument);
    if (!generateStockData(connection, options, &error)) {
        say(u"!! generator failed: "_qs + error);
        return 3;
    }
    say(QStringLiteral("stock list of %1 lines over %2 items")
            .arg(options.documents * options.linesPerDocument)
            .arg(items));

    // The statements the stock list runs: the sums of every item and the item rows.
    const QString sums = u"SELECT 原材料名字, 型号, 正负, SUM(mv_int(数量)), 0 FROM yclnote"
                         " WHERE 正负 IN ('入库', '出库') GROUP BY 原材料名字, 型号, 正负"_qs;
    const double bare = bestOf(3, ownSeconds, [&] {
        runBare(connection, sums);
        runBare(connection, stockItemsStatement());
    });

    ReportListModel list;
    const double inProcess = bestOf(3, ownSeconds, [&] { RefreshStockList(connection, list); });

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_qs);
    environment.remove(u"QT_QPA_PLATFORM"_qs);
    environment.insert(u"MORVANE_PASSWORD"_qs, u"admin"_qs);
    environment.insert(u"XDG_CONFIG_HOME"_qs, dir.filePath(u"config"_qs));
    qint64 outputBytes = 0;
    bool failed = false;
    const QStringList stockArguments{u"stock"_qs, u"--format"_qs, u"csv"_qs,  u"--home"_qs,
                                     dir.path(),  u"--user"_qs,   u"admin"_qs};
    const auto runProgram = [&](bool keepOutput, const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        if (!keepOutput)
            program.setStandardOutputFile(QProcess::nullDevice());
        program.start(QStringLiteral(MORVANE_PROGRAM), arguments);
        if (!program.waitForFinished(600000) || program.exitCode() != 0) {
            say(u"!! the program failed: "_qs + QString::fromUtf8(program.readAllStandardError()));
            failed = true;
        }
        if (keepOutput)
            outputBytes = program.readAllStandardOutput().size();
    };
    runProgram(true, stockArguments); // once with the output read, to see that it lists something
    const double program = bestOf(3, childSeconds, [&] { runProgram(false, stockArguments); });
    // What any run of the program costs before it does anything: loading it and its libraries.
    const double start = bestOf(3, childSeconds, [&] { runProgram(false, {u"help"_qs}); });
    if (failed || outputBytes < items * 10)
        return 3;

    figure(u"bare SQL of the stock list's statements"_qs, bare);
    figure(u"RefreshStockList in this process"_qs, inProcess);
    figure(u"morvane help (start-up of the program)"_qs, start);
    figure(u"morvane stock --format csv (%1 KB of CSV)"_qs.arg(outputBytes / 1024), program);
    const bool pass = ratio(u"program / bare SQL"_qs, program / bare, 1.3);
    say(QStringLiteral("  %1 %2   (no target: the run without the start-up)")
            .arg(u"(program - start-up) / bare SQL"_qs, -44)
            .arg((program - start) / bare, 8, 'f', 2));
    return pass || !enforce ? 0 : 2;
}
