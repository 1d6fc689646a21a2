// Export and backup benchmark: a 100,000-row x 7-column list exported to .xls and to .xlsx
// the way 保存 does it (temporary table, then the workbook), each against writing the same
// cells to a CSV file; and the backup of the 500,000-line database against a plain copy of
// its file. Prints every figure, every ratio and PASS/FAIL per target; exits 2 when a target
// is missed (full-size runs only).
//
// morvane_exportbench [--quick] [--export-only]

#include "common/oledate.h"
#include "data/connection.h"
#include "data/databasebackup.h"
#include "data/datastore.h"
#include "data/listexport.h"
#include "data/workbookwriter.h"
#include "generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace mv;

namespace {

bool g_targetMissed = false;

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
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

void figure(const QString& label, double seconds)
{
    say(QStringLiteral("  %1 %2 s").arg(label, -44).arg(seconds, 0, 'f', 4));
}

void ratio(const QString& label, double value, double limit, bool enforce)
{
    const bool pass = limit <= 0 || value <= limit;
    if (!pass && enforce)
        g_targetMissed = true;
    say(QStringLiteral("  %1 %2%3")
            .arg(label, -44)
            .arg(value, 8, 'f', 2)
            .arg(limit > 0 ? QStringLiteral("   target <= %1   %2")
                                 .arg(limit)
                                 .arg(pass ? u"PASS"_qs : u"FAIL"_qs)
                           : QString()));
}

// A stock list as the program shows it: running number, category, name, model, balance,
// unit and remark, with the repeats of real data.
QList<QStringList> stockLikeRows(int count)
{
    const QStringList categories{u"铝材"_qs, u"玻璃"_qs, u"五金"_qs, u"密封胶条"_qs, u"辅材"_qs};
    const QStringList units{u"支"_qs, u"块"_qs, u"套"_qs, u"米"_qs, u"个"_qs};
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.append({QString::number(i + 1), categories.at(i % 5),
                     QStringLiteral("材料%1").arg(i % 4999), QStringLiteral("XC-%1").arg(i % 997),
                     QString::number((i * 37) % 2000 - 100), units.at(i % 5),
                     i % 4 ? QString() : QStringLiteral("备注 \"%1\" 号").arg(i % 311)});
    return rows;
}

// The floor: the same cells as CSV text, written in one go.
void writeCsv(const QStringList& titles, const QList<QStringList>& rows, const QString& path)
{
    QByteArray out;
    const auto appendRow = [&out](const QStringList& cells) {
        for (qsizetype c = 0; c < cells.size(); ++c) {
            if (c)
                out.append(',');
            const QString& cell = cells.at(c);
            if (cell.contains(u'"') || cell.contains(u',') || cell.contains(u'\n')) {
                QString quoted = cell;
                quoted.replace(u"\""_qs, u"\"\""_qs);
                out.append('"').append(quoted.toUtf8()).append('"');
            } else {
                out.append(cell.toUtf8());
            }
        }
        out.append('\n');
    };
    appendRow(titles);
    for (const QStringList& row : rows)
        appendRow(row);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        say(u"!! cannot write "_qs + path);
        std::exit(3);
    }
}

void exportFigures(const QTemporaryDir& dir, int rowCount, bool enforce)
{
    say(QStringLiteral("Export of %1 rows x 7 columns (best of 3)").arg(rowCount));
    const QStringList titles{u"编号"_qs,   u"库存分类"_qs, u"名称"_qs, u"型号"_qs,
                             u"现存量"_qs, u"单位"_qs,     u"备注"_qs};
    ListExportRequest request;
    request.titles = titles;
    request.rows = stockLikeRows(rowCount);
    request.sheetName = u"库存"_qs;
    request.temporaryDatabase = dir.filePath(u"db.tmp"_qs);

    const double csv =
        bestOf(3, [&] { writeCsv(titles, request.rows, dir.filePath(u"a.csv"_qs)); });
    figure(u"CSV file (floor)"_qs, csv);
    double results[2] = {0, 0};
    const QString suffixes[2] = {u"xls"_qs, u"xlsx"_qs};
    for (int f = 0; f < 2; ++f) {
        request.outputPath = dir.filePath(u"a."_qs + suffixes[f]);
        results[f] = bestOf(3, [&] {
            Connection connection;
            const ListExportOutcome outcome = exportList(connection, request);
            if (!outcome.done) {
                say(u"!! export failed: "_qs + outcome.message);
                std::exit(3);
            }
        });
        figure(QStringLiteral(".%1 through the temporary table").arg(suffixes[f]), results[f]);
        // Where the time goes: the writer alone, from rows in memory.
        const double writerOnly = bestOf(1, [&] {
            const auto writer = createWorkbookWriter(request.outputPath);
            bool ok = writer->beginSheet(u"库存"_qs) && writer->addRow(titles);
            int inSheet = 1;
            int sheet = 1;
            for (const QStringList& row : request.rows) {
                if (inSheet == writer->maxRows()) {
                    ok = ok && writer->beginSheet(continuationSheetName(u"库存"_qs, ++sheet)) &&
                         writer->addRow(titles);
                    inSheet = 1;
                }
                ok = ok && writer->addRow(row);
                ++inSheet;
            }
            if (!ok || !writer->finish()) {
                say(u"!! writer failed: "_qs + writer->errorString());
                std::exit(3);
            }
        });
        figure(QStringLiteral("  of which the .%1 writer alone").arg(suffixes[f]), writerOnly);
        say(QStringLiteral("  %1 %2 bytes")
                .arg(QStringLiteral("  file size"), -44)
                .arg(QFileInfo(request.outputPath).size()));
    }
    ratio(u"ratio .xls / CSV"_qs, results[0] / csv, 5, enforce);
    ratio(u"ratio .xlsx / CSV"_qs, results[1] / csv, 8, enforce);
}

void backupFigures(const QTemporaryDir& dir, int items, int lines)
{
    say(QStringLiteral("Backup of a %1-line database").arg(lines));
    Connection connection;
    QString error;
    if (!connection.openSqlite(dir.filePath(u"db.mdb"_qs), &error) ||
        !createSchema(connection, &error)) {
        say(u"!! cannot create the database: "_qs + error);
        std::exit(3);
    }
    GeneratorOptions options;
    options.items = items;
    options.linesPerDocument = 10;
    options.documents = lines / options.linesPerDocument;
    if (!generateStockData(connection, options, &error)) {
        say(u"!! generator failed: "_qs + error);
        std::exit(3);
    }
    say(QStringLiteral("  %1 %2 bytes")
            .arg(u"database size"_qs, -44)
            .arg(QFileInfo(connection.path()).size()));
    const QString copyPath = dir.filePath(u"copy.mdbbak"_qs);
    const double copy = bestOf(3, [&] {
        QFile::remove(copyPath);
        QFile::copy(connection.path(), copyPath);
    });
    figure(u"plain file copy"_qs, copy);
    const double backup = bestOf(3, [&] {
        if (!backupDatabase(connection, u"基准"_qs).done) {
            say(u"!! backup failed"_qs);
            std::exit(3);
        }
    });
    figure(u"consistent snapshot (数据备份)"_qs, backup);
    ratio(u"ratio snapshot / copy"_qs, backup / copy, 0, false);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(u"--quick"_qs);
    QTemporaryDir dir;
    exportFigures(dir, quick ? 10000 : 100000, !quick);
    if (!app.arguments().contains(u"--export-only"_qs))
        backupFigures(dir, quick ? 500 : 5000, quick ? 50000 : 500000);
    return g_targetMissed ? 2 : 0;
}
