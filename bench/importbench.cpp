// Access import benchmark: reading every table of an Access file and writing it into a new
// SQLite database (what the import does, one transaction, the file opened and closed) against
// mdb-export writing the same tables to CSV files, the lower bound of merely reading them.
// Best of several runs each; prints both times and their ratio, PASS when the import takes at
// most 3 times as long. Exits 2 when the target is missed.
//
// morvane_importbench [FILE [JET3-CHARSET]]   (default: the nwind.mdb sample, CP1252)

#include "db/connection.h"
#include "exchange/access/accessfile.h"
#include "exchange/access/accesstablecopy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace mv;

namespace {

const int kRuns = 5;

double bestOf(const std::function<bool()>& run)
{
    double best = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

bool importAll(const QString& file, const QString& charset, const QString& target, qint64* rows)
{
    QFile::remove(target);
    AccessFile access;
    QString error;
    if (!access.open(file, charset, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    Connection db;
    if (!db.openSqlite(target, &error))
        return false;
    Transaction transaction(db);
    *rows = 0;
    for (const QString& table : access.tableNames()) {
        const auto source = access.openTable(table, &error);
        if (!source)
            return false;
        const TableCopy copy = copyAccessTable(*source, db, table);
        if (!copy.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(copy.error));
            return false;
        }
        *rows += copy.rowsWritten;
    }
    return transaction.commit();
}

bool exportAll(const QString& file, const QString& charset, const QStringList& tables,
               const QString& directory)
{
    for (int i = 0; i < tables.size(); ++i) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MDB_JET3_CHARSET"), charset);
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(directory + QStringLiteral("/%1.csv").arg(i));
        process.start(QStringLiteral("mdb-export"), {file, tables[i]});
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString file = arguments.value(1, QStringLiteral(MORVANE_ACCESS_SAMPLES "/nwind.mdb"));
    const QString charset = arguments.value(2, QStringLiteral("CP1252"));
    QTemporaryDir dir;
    AccessFile access;
    QString error;
    if (!access.open(file, charset, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QStringList tables = access.tableNames();

    qint64 rows = 0;
    const QString target = dir.filePath(QStringLiteral("import.db"));
    const double importMs = bestOf([&] { return importAll(file, charset, target, &rows); });
    const double exportMs = bestOf([&] { return exportAll(file, charset, tables, dir.path()); });
    if (importMs < 0 || exportMs < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const double ratio = importMs / exportMs;
    std::printf("%s: %lld tables, %lld rows\n", qPrintable(file), qlonglong(tables.size()),
                qlonglong(rows));
    std::printf("import into SQLite  %8.1f ms\n", importMs);
    std::printf("mdb-export to CSV   %8.1f ms\n", exportMs);
    std::printf("ratio %.2f (target <= 3): %s\n", ratio, ratio <= 3.0 ? "PASS" : "FAIL");
    return ratio <= 3.0 ? 0 : 2;
}
