// Server benchmark: the large set (--lines, --items) on a PostgreSQL server over the loopback
// and in an SQLite file, side by side. Stock list refresh, monthly summary and the save of a
// 50-line receipt with the stock list refresh, each against the same work done with bare
// statements on the same database in the same process; the server's stock list and summary
// against the file's (within 2x); then the throughput of clerks saving
// receipts and requisitions at once (documents per second, 1 and 4 clients, server only).
//
// morvane_serverbench --url postgresql://user:pw@127.0.0.1:PORT/postgres [--quick]
//   The URL names a database on a server where the user may create databases; the benchmark
//   works in a database of its own and drops it afterwards. tests/support/pgcluster.sh start
//   DIR starts a throw-away server and writes such a URL into DIR/url.

#include "common/reportlistmodel.h"
#include "comparison.h"
#include "db/builders.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "documents/documentnumber.h"
#include "documents/documentsave.h"
#include "generator.h"
#include "stock/monthlysummary.h"
#include "stock/stockfigures.h"
#include "stock/stocklist.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <functional>

using namespace mv;

namespace {

bench::Comparison g_targets;
using bench::say;
using bench::walk;
constexpr int kRuns = 5;
constexpr int kLines = 50;

double bestOf(const std::function<void()>& prepare, const std::function<void()>& work)
{
    return bench::bestOf(kRuns, prepare, work);
}

// The quantity as an integer the way a bare statement would read it: on the server the
// stored integer column the schema keeps for it, in the file a plain cast (so the bare
// figures may differ from the program's on odd quantities there).
QString bareInteger(const Dialect& dialect)
{
    return dialect.backend() == Dialect::Postgres ? u"数量值"_qs : u"CAST(数量 AS INTEGER)"_qs;
}

void bareStockList(Connection& c)
{
    walk(c, stockItemsStatement() + u" ORDER BY 1, 2, 3, 4"_qs);
    walk(c,
         u"SELECT 原材料名字, 型号, 正负, SUM("_qs + bareInteger(c.dialect()) +
             u") FROM yclnote WHERE 正负 IN ('入库', '出库') GROUP BY 原材料名字, 型号, 正负"_qs);
}

void bareSummary(Connection& c, const QDate& from, const QDate& to)
{
    const Dialect& d = c.dialect();
    walk(c, stockItemsStatement() + u" ORDER BY 1, 2, 3, 4"_qs);
    walk(c, u"SELECT 原材料名字, 型号, 正负, SUM("_qs + bareInteger(d) +
                u"), SUM(CASE WHEN 日期 BETWEEN "_qs + d.dateLiteral(from) + u" AND "_qs +
                d.dateLiteral(to) + u" THEN "_qs + bareInteger(d) +
                u" ELSE 0 END) FROM yclnote WHERE 正负 IN ('入库', '出库')"
                u" GROUP BY 原材料名字, 型号, 正负"_qs);
}

Document receipt(const QString& number, int lines, int offset)
{
    Document d;
    d.kind = DocumentKind::Receipt;
    d.header = {number, QDate(2023, 12, 30), u"华东铝业"_qs, u"铝材"_qs, u"bench"_qs};
    for (int i = 0; i < lines; ++i)
        d.lines.append({{u"材料%1"_qs.arg((offset + i * 37) % 5000), u"型号%1"_qs.arg(i % 7),
                         QString::number(1 + i % 9), u"支"_qs, u"12.5"_qs, QString()}});
    return d;
}

void removeDocument(Connection& c, const QString& number)
{
    c.execute(u"DELETE FROM yclnote WHERE 单据号="_qs + sqlQuoted(number) + u" AND 正负='入库'"_qs);
    c.execute(u"DELETE FROM ycldate WHERE 单号="_qs + sqlQuoted(number) + u" AND 出入='入'"_qs);
}

// The statements saveDocument() ends up sending, without its checks and locks.
void bareSave(Connection& c, const Document& d)
{
    c.execute(u"BEGIN"_qs);
    for (const DocumentLine& line : d.lines) {
        QStringList values;
        for (const QString& value : {line.cell(0), line.cell(3), d.header.maker, d.header.party,
                                     line.cell(2), line.cell(4), d.header.number, d.header.category,
                                     line.cell(5), line.cell(1), u"2023-12-30"_qs, u"入库"_qs})
            values.append(sqlQuoted(value));
        c.execute(u"INSERT INTO yclnote (原材料名字, 单位, 制单人, 供应单位, 数量, 单价, 单据号, "
                  "分类, 备注, 型号, 日期, 正负) VALUES ("_qs +
                  values.join(u", "_qs) + u')');
    }
    c.execute(u"INSERT INTO ycldate (单号, 出入) VALUES ("_qs + sqlQuoted(d.header.number) +
              u", '入')"_qs);
    c.execute(u"COMMIT"_qs);
}

// The program's stock list and summary figures of one database, in seconds.
struct ViewFigures
{
    double stockList = 0;
    double summary = 0;
};

ViewFigures runViews(Connection& c, const QString& name)
{
    say(u"["_qs + name + u"]"_qs);
    ReportListModel list;
    const double refresh = bestOf([] {}, [&] { RefreshStockList(c, list); });
    const double refreshBare = bestOf([] {}, [&] { bareStockList(c); });
    g_targets.report(u"stock list refresh"_qs, refresh, refreshBare, 1.5);

    const QDate from(2023, 6, 1), to(2023, 6, 30);
    ReportListModel summary;
    const double monthly = bestOf([] {}, [&] { BuildMonthlySummary(c, summary, from, to); });
    const double monthlyBare = bestOf([] {}, [&] { bareSummary(c, from, to); });
    g_targets.report(u"monthly summary"_qs, monthly, monthlyBare, 1.5);

    int serial = 0;
    QString saved;
    const auto clear = [&] {
        if (!saved.isEmpty())
            removeDocument(c, saved);
        saved = u"9%1"_qs.arg(++serial, 7, 10, QLatin1Char('0'));
    };
    const double save = bestOf(clear, [&] {
        saveDocument(c, receipt(saved, kLines, serial));
        RefreshStockList(c, list);
    });
    const double saveBare = bestOf(clear, [&] {
        bareSave(c, receipt(saved, kLines, serial));
        bareStockList(c);
    });
    clear();
    g_targets.report(u"save 50 lines + stock list"_qs, save, saveBare, 1.5);
    return {refresh, monthly};
}

// Clients saving receipts and requisitions at once, numbers taken as 添加 takes them.
double throughput(const QString& url, int clients, int documentsEach)
{
    QList<QThread*> threads;
    QElapsedTimer timer;
    timer.start();
    for (int c = 0; c < clients; ++c)
        threads.append(QThread::create([url, c, documentsEach] {
            Connection connection;
            if (!connection.openUrl(url))
                return;
            QRandomGenerator random(quint32(c + 1));
            QString shown[2] = {u"20000000"_qs, u"20000000"_qs};
            for (int i = 0; i < documentsEach; ++i) {
                const bool isReceipt = i % 2 == 0;
                Document d = receipt({}, 1 + int(random.bounded(3)), int(random.bounded(5)));
                if (!isReceipt) {
                    d.kind = DocumentKind::Requisition;
                    d.header.party = u"一号楼"_qs;
                }
                for (int attempt = 0; attempt < 1000; ++attempt) {
                    QString& number = shown[isReceipt ? 0 : 1];
                    number = nextDocumentNumber(number);
                    d.header.number = number;
                    const DocumentOutcome o = saveDocument(connection, d);
                    if (o.done || o.message != u"单据号重复，无法录入系统！"_qs)
                        break;
                }
            }
        }));
    for (QThread* t : threads)
        t->start();
    for (QThread* t : threads) {
        t->wait();
        delete t;
    }
    return clients * documentsEach / (timer.nsecsElapsed() / 1e9);
}

bool runOnServer(const QString& url, const QString& sql)
{
    Connection admin;
    QString error;
    if (!admin.openUrl(url, &error) || !admin.execute(sql)) {
        say(u"server: "_qs + (error.isEmpty() ? admin.lastError() : error));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype urlAt = args.indexOf(u"--url"_qs);
    if (urlAt < 0 || urlAt + 1 >= args.size()) {
        say(u"usage: morvane_serverbench --url postgresql://user:pw@host:port/db [--quick]"_qs);
        return 1;
    }
    const bool quick = args.contains(u"--quick"_qs);
    GeneratorOptions options;
    if (quick) {
        options.items = 500;
        options.documents = 5000;
    }
    say(u"lines %1, items %2"_qs.arg(options.documents * options.linesPerDocument)
            .arg(options.items));

    // The same data in an SQLite file and in a server database of the benchmark's own.
    QTemporaryDir dir;
    Connection file;
    QString error;
    if (!file.openSqlite(dir.filePath(u"db.mdb"_qs), &error) || !createSchema(file, &error) ||
        !generateStockData(file, options, &error)) {
        say(u"SQLite: "_qs + error);
        return 1;
    }
    const QString base = args.at(urlAt + 1);
    const QString name = u"mvbench_%1"_qs.arg(QCoreApplication::applicationPid());
    if (!runOnServer(base, u"CREATE DATABASE "_qs + name))
        return 1;
    QUrl url(base);
    url.setPath(u'/' + name);
    int status = 0;
    {
        Connection server;
        QElapsedTimer filling;
        filling.start();
        // The fill commits durably even where the throw-away server is told not to wait for
        // its disk: the vacuum below can only mark lines visible to all once their commit has
        // reached the log.
        if (!openServerDatabase(server, url.toString(), {}, &error) ||
            !server.execute(u"SET synchronous_commit = on"_qs) ||
            !generateStockData(server, options, &error)) {
            say(u"server: "_qs + error);
            status = 1;
        } else {
            // As the server's autovacuum does shortly after a bulk load: statistics, and the
            // visibility map that lets the sums read their covering index alone.
            server.execute(u"VACUUM ANALYZE"_qs);
            say(u"server filled in %1 s"_qs.arg(filling.elapsed() / 1000.0, 0, 'f', 1));
            const ViewFigures onFile = runViews(file, u"SQLite file"_qs);
            const ViewFigures onServer = runViews(server, u"PostgreSQL over the loopback"_qs);
            say(u"[server against file] program on the server, program on the SQLite file"_qs);
            g_targets.report(u"stock list refresh"_qs, onServer.stockList, onFile.stockList, 2.0);
            g_targets.report(u"monthly summary"_qs, onServer.summary, onFile.summary, 2.0);
            const int each = quick ? 50 : 200;
            const double one = throughput(url.toString(), 1, each);
            const double four = throughput(url.toString(), 4, each);
            say(u"[concurrency] documents/s: 1 client %1, 4 clients %2 (ratio %3)"_qs
                    .arg(one, 0, 'f', 1)
                    .arg(four, 0, 'f', 1)
                    .arg(four / one, 0, 'f', 2));
        }
    }
    runOnServer(base, u"DROP DATABASE IF EXISTS "_qs + name + u" WITH (FORCE)"_qs);
    if (status == 0 && g_targets.missed && !quick)
        status = 2;
    return status;
}
