// Export and backup benchmark. The list export is timed as 保存 runs it: a 100,000-row x
// 7-column list in a report list, the save dialog answered, the progress bar shown and
// repainted, the workbook written beside its target and renamed into place. .xls is measured
// against writing the same cells to a CSV file, .xlsx against libxlsxwriter writing the same
// rows from memory (its compression is the floor), both in the same run; an openpyxl
// write-only export of the same rows is shown for comparison when python3-openpyxl is
// installed. Then the backup of the 500,000-line database against a plain copy of its file.
// Prints every figure, every ratio and PASS/FAIL per target; exits 2 when a target is missed
// (full-size runs only).
//
// morvane_exportbench [--quick] [--export-only]

#include "common/messages.h"
#include "common/oledate.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "exchange/backup/databasebackup.h"
#include "generator.h"
#include "gui/data/reportlistexport.h"
#include "widgets/reportlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

#include <xlsxwriter.h>

using namespace mv;

namespace {

bool g_targetMissed = false;

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, timed(work));
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

void require(bool ok, const QString& what)
{
    if (!ok) {
        say(u"!! "_qs + what);
        std::exit(3);
    }
}

// Answers the save dialog with the path set last; every message is a failure of the run.
class BenchResponder : public MessageResponder
{
public:
    QString path;
    int message(const QString& text, int, const QString&) override
    {
        require(false, u"message during the export: "_qs + text);
        return AnswerOk;
    }
    InputAnswer input(const QString&, const QString&, const QString&) override { return {}; }
    QString fileName(bool, const QString&, const QString&, const QString&) override { return path; }
};

const QStringList kTitles{u"编号"_qs,   u"库存分类"_qs, u"名称"_qs, u"型号"_qs,
                          u"现存量"_qs, u"单位"_qs,     u"备注"_qs};

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

// The .xls floor: the same cells as CSV text, written in one go.
void writeCsv(const QList<QStringList>& rows, const QString& path)
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
    appendRow(kTitles);
    for (const QStringList& row : rows)
        appendRow(row);
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(out) == out.size(),
            u"cannot write "_qs + path);
}

// The .xlsx floor: libxlsxwriter writing rows already in its own form (UTF-8, in memory),
// every cell a text, in the given memory mode.
void writeWithLibrary(const std::vector<std::vector<QByteArray>>& rows, const QString& path,
                      bool constantMemory)
{
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    require(book, u"libxlsxwriter cannot create "_qs + path);
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "库存");
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), rows[r][c].constData(),
                                       text);
    require(workbook_close(book) == LXW_NO_ERROR, u"libxlsxwriter cannot write "_qs + path);
}

// openpyxl's write-only export of the CSV's rows: its own timing of the writing, or why it
// did not run.
double openpyxlSeconds(const QString& csv, const QString& path, QString* notRun)
{
    QProcess python;
    python.start(u"/usr/bin/python3"_qs,
                 {QStringLiteral(MORVANE_BENCH_DIR "/openpyxlexport.py"), csv, path, u"库存"_qs});
    const bool finished = python.waitForFinished(600000);
    if (finished && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0)
        return python.readAllStandardOutput().trimmed().toDouble();
    *notRun = finished && python.exitCode() == 4
                  ? u"python3-openpyxl is not installed"_qs
                  : u"it failed: "_qs + QString::fromUtf8(python.readAllStandardError()).trimmed();
    return -1;
}

void exportFigures(const QTemporaryDir& dir, int rowCount, bool enforce)
{
    const int runs = enforce ? 7 : 2;
    say(QStringLiteral("Export of %1 rows x 7 columns through 保存 (best of %2, runs "
                       "interleaved)")
            .arg(rowCount)
            .arg(runs));
    ReportList list;
    QList<ReportColumn> columns;
    for (const QString& title : kTitles)
        columns.append({title, 80});
    list.setColumns(columns);
    QList<ReportRow> rows;
    for (const QStringList& cells : stockLikeRows(rowCount))
        rows.append({cells, 0, Qt::Unchecked});
    list.model()->setRows(rows);
    const QList<QStringList> cells = list.model()->cellTexts();
    std::vector<std::vector<QByteArray>> utf8Rows{{}};
    for (const QString& title : kTitles)
        utf8Rows.front().push_back(title.toUtf8());
    for (const QStringList& row : cells) {
        utf8Rows.emplace_back();
        for (const QString& cell : row)
            utf8Rows.back().push_back(cell.toUtf8());
    }

    QProgressBar progress;
    BenchResponder responder;
    setMessageResponder(&responder);
    const auto save = [&](const QString& path) {
        responder.path = path;
        require(exportReportList(list, u"库存"_qs, &progress), u"export failed: "_qs + path);
    };
    const QString csvPath = dir.filePath(u"a.csv"_qs);
    const QString xlsPath = dir.filePath(u"a.xls"_qs);
    const QString xlsxPath = dir.filePath(u"a.xlsx"_qs);
    const QString libraryPath = dir.filePath(u"library.xlsx"_qs);
    double csv = 1e300, xls = 1e300, xlsx = 1e300, constantMemory = 1e300, sharedStrings = 1e300;
    for (int i = 0; i < runs; ++i) {
        csv = std::min(csv, timed([&] { writeCsv(cells, csvPath); }));
        xls = std::min(xls, timed([&] { save(xlsPath); }));
        constantMemory =
            std::min(constantMemory, timed([&] { writeWithLibrary(utf8Rows, libraryPath, true); }));
        sharedStrings =
            std::min(sharedStrings, timed([&] { writeWithLibrary(utf8Rows, libraryPath, false); }));
        xlsx = std::min(xlsx, timed([&] { save(xlsxPath); }));
    }
    setMessageResponder(nullptr);
    const double library = std::min(constantMemory, sharedStrings);

    figure(u"CSV file, same cells (floor)"_qs, csv);
    figure(u".xls export, the Save button's path"_qs, xls);
    say(QStringLiteral("  %1 %2 bytes").arg(u"  file size"_qs, -44).arg(QFileInfo(xlsPath).size()));
    ratio(u"ratio .xls / CSV"_qs, xls / csv, 3, enforce);
    figure(u"libxlsxwriter from memory, rows streamed"_qs, constantMemory);
    figure(u"libxlsxwriter from memory, shared strings"_qs, sharedStrings);
    figure(u".xlsx export, the Save button's path"_qs, xlsx);
    say(QStringLiteral("  %1 %2 bytes")
            .arg(u"  file size"_qs, -44)
            .arg(QFileInfo(xlsxPath).size()));
    ratio(u"ratio .xlsx / libxlsxwriter (faster mode)"_qs, xlsx / library, 1.2, enforce);

    QString notRun;
    const double python = openpyxlSeconds(csvPath, dir.filePath(u"openpyxl.xlsx"_qs), &notRun);
    if (python < 0) {
        say(u"  openpyxl write-only export: not run ("_qs + notRun + u")"_qs);
        return;
    }
    figure(u"openpyxl write-only export (comparison)"_qs, python);
    ratio(u"ratio .xlsx export / openpyxl"_qs, xlsx / python, 0, false);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(u"--quick"_qs);
    QTemporaryDir dir;
    exportFigures(dir, quick ? 10000 : 100000, !quick);
    if (!app.arguments().contains(u"--export-only"_qs))
        backupFigures(dir, quick ? 500 : 5000, quick ? 50000 : 500000);
    return g_targetMissed ? 2 : 0;
}
