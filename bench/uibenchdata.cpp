// The data side of the window benchmark (bench/uibench.py): makes the generated database
// and times the bare SQL of each path the window benchmark clocks, on the same file.
//
// morvane_uibench_data generate FILE ITEMS LINES
//     creates FILE with the program's schema (account admin/admin) and LINES movement lines
//     over ITEMS items; refuses an existing FILE.
// morvane_uibench_data bare FILE RUNS SEARCH SCRATCHDIR
//     prints one JSON object: per path the best of RUNS bare runs in seconds
// morvane_uibench_data expect FILE SEARCH
//     prints one JSON object: per list what the window must show (row count and the cells of
//     the first, middle and last row)
//
// Bare SQL is the program's own statements (the same text, mv_int() registered) stepped
// through the SQLite C API on a connection opened for the run, without reading the values:
//   login    open the file, the start-up probe, the stock items and the balances
//   summary  the stock items and the sums with the period (first of this month to today,
//            as the window's period pickers start)
//   search   the items whose name holds SEARCH and the balances
//   save     no SQL: the export of the summary's rows to an .xls file, in-process

#include "common/reportlistmodel.h"
#include "db/connection.h"
#include "db/builders.h"
#include "db/datastore.h"
#include "db/sqlfunctions.h"
#include "exchange/workbook/listexport.h"
#include "generator.h"
#include "stock/monthlysummary.h"
#include "stock/stockfigures.h"
#include "stock/stocklist.h"
#include "stock/stocksearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

using namespace mv;

namespace {

int fail(const QString& text)
{
    std::fprintf(stderr, "morvane_uibench_data: %s\n", qPrintable(text));
    return 3;
}

double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// A connection as bare as it gets: the file, opened as the program's driver opens it (no
// mutex), and the program's SQL functions.
sqlite3* openBare(const QString& path)
{
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
        !registerSqlFunctions(handle)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        std::exit(3);
    }
    return handle;
}

void step(sqlite3* handle, const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "bare statement failed: %s\n", sqlite3_errmsg(handle));
        std::exit(3);
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
}

// The row count and the first, middle and last rows: what a reader of the list checks.
QJsonObject expected(const ReportListModel& list)
{
    QJsonObject sample;
    const int n = list.rowCount();
    for (int row : {0, n / 2, n - 1}) {
        if (row < 0 || row >= n)
            continue;
        QJsonArray cells;
        for (int c = 0; c < list.columnCount(); ++c)
            cells.append(list.text(row, c));
        sample.insert(QString::number(row), cells);
    }
    return {{u"rows"_qs, n}, {u"columns"_qs, list.columnCount()}, {u"sample"_qs, sample}};
}

int generate(const QString& path, int items, int lines)
{
    if (QFile::exists(path))
        return fail(path + u" exists"_qs);
    Connection connection;
    QString error;
    if (!connection.openSqlite(path, &error) || !createSchema(connection, &error))
        return fail(error);
    GeneratorOptions options;
    options.items = items;
    options.documents = std::max(1, lines / options.linesPerDocument);
    // The year up to today, so the window's period (this month) has lines of its own.
    options.lastDate = QDate::currentDate();
    options.firstDate = options.lastDate.addDays(-364);
    if (!generateStockData(connection, options, &error))
        return fail(error);
    return 0;
}

// The window's period pickers start at the first of this month and today.
Period windowPeriod()
{
    const QDate today = QDate::currentDate();
    return Period{QDate(today.year(), today.month(), 1), today};
}

void print(const QJsonObject& out)
{
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
}

int expect(const QString& path, const QString& search)
{
    const Period period = windowPeriod();
    Connection connection;
    QString error;
    if (!connection.openSqlite(path, &error))
        return fail(error);
    ReportListModel stock, summary, found;
    RefreshStockList(connection, stock);
    BuildMonthlySummary(connection, summary, period.from, period.to);
    SearchStock(connection, found, StockSearchField::Name, search);
    print({{u"login"_qs, expected(stock)},
           {u"summary"_qs, expected(summary)},
           {u"search"_qs, expected(found)}});
    return 0;
}

int bare(const QString& path, int runs, const QString& search, const QString& scratch)
{
    const Period period = windowPeriod();
    const Dialect sqlite(Dialect::Sqlite);
    const QString items = stockItemsStatement();
    // The program binds the pattern; the bare statement carries it as a literal.
    const QString searchItems =
        stockSearchStatement(sqlite, StockSearchField::Name)
            .replace(u'?', sqlQuoted(stockSearchPattern(search)));

    QJsonObject bareSeconds;
    bareSeconds.insert(u"login"_qs, bestOf(runs, [&] {
                           sqlite3* handle = openBare(path);
                           step(handle, u"SELECT count(*) FROM sqlite_master"_qs);
                           step(handle, items);
                           step(handle, itemSumsStatement(sqlite));
                           sqlite3_close(handle);
                       }));
    sqlite3* handle = openBare(path);
    bareSeconds.insert(u"summary"_qs, bestOf(runs, [&] {
                           step(handle, items);
                           step(handle, itemSumsStatement(sqlite, period));
                       }));
    bareSeconds.insert(u"search"_qs, bestOf(runs, [&] {
                           step(handle, searchItems);
                           step(handle, itemSumsStatement(sqlite));
                       }));
    sqlite3_close(handle);

    // The rows 保存 writes: the summary's, made by the program's own function.
    Connection connection;
    QString error;
    if (!connection.openSqlite(path, &error))
        return fail(error);
    ReportListModel summary;
    BuildMonthlySummary(connection, summary, period.from, period.to);
    ListExportRequest request;
    for (int c = 0; c < summary.columnCount(); ++c)
        request.titles.append(summary.columnTitle(c));
    request.rows = summary.cellTexts();
    request.sheetName = u"月度汇总"_qs;
    request.outputPath = QDir(scratch).filePath(u"bare.xls"_qs);
    bareSeconds.insert(u"save"_qs, bestOf(runs, [&] {
                           if (!exportList(request).done)
                               std::exit(fail(u"export failed"_qs));
                       }));
    QFile::remove(request.outputPath);

    print(bareSeconds);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1) == u"generate"_qs)
        return generate(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    if (args.size() == 6 && args.at(1) == u"bare"_qs)
        return bare(args.at(2), std::max(1, args.at(3).toInt()), args.at(4), args.at(5));
    if (args.size() == 4 && args.at(1) == u"expect"_qs)
        return expect(args.at(2), args.at(3));
    return fail(u"usage: morvane_uibench_data generate FILE ITEMS LINES | "
                "bare FILE RUNS SEARCH SCRATCHDIR | expect FILE SEARCH"_qs);
}
