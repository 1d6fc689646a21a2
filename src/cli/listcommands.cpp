// stock, summary and export: the lists of the 库存 page and of 统计, filled by the functions
// the window fills them with.

#include "cli/command.h"
#include "cli/tableoutput.h"
#include "cli/terminal.h"
#include "common/oledate.h"
#include "common/replacementfile.h"
#include "common/reportlistmodel.h"
#include "exchange/workbook/listexport.h"
#include "stock/monthlysummary.h"
#include "stock/stocklist.h"
#include "stock/stocksearch.h"

#include <QDir>
#include <QFileInfo>

namespace mv::cli {

namespace {

struct ListRequest
{
    OutputFormat format = OutputFormat::Table;
    bool search = false;
    StockSearchField field = StockSearchField::Name;
    QString text;
    QDate from;
    QDate to;
};

// Reads --format, --search/--field and --from/--to; a usage error's exit code otherwise.
std::optional<int> readListOptions(const QCommandLineParser& args, ListRequest* request)
{
    if (given(args, u"format"_qs) &&
        !parseOutputFormat(optionValue(args, u"format"_qs), &request->format))
        return usageError(u"--format 只能是 table、csv 或 json。"_qs);
    if (given(args, u"field"_qs) && !given(args, u"search"_qs))
        return usageError(u"--field 要与 --search 一起使用。"_qs);
    if (given(args, u"search"_qs)) {
        request->search = true;
        request->text = optionValue(args, u"search"_qs);
        const QString field = optionValue(args, u"field"_qs);
        if (field == u"category")
            request->field = StockSearchField::Category;
        else if (field == u"model")
            request->field = StockSearchField::Model;
        else if (!field.isEmpty() && field != u"name")
            return usageError(u"--field 只能是 category、name 或 model。"_qs);
    }
    // The window's period pickers start at the first of this month and today.
    const QDate today = clockToday();
    request->from = QDate(today.year(), today.month(), 1);
    request->to = today;
    for (const auto& [name, date] :
         {std::pair{u"from"_qs, &request->from}, {u"to"_qs, &request->to}}) {
        if (!given(args, name))
            continue;
        *date = parseDateOption(optionValue(args, name));
        if (!date->isValid())
            return usageError(u"--%1 的日期“%2”无效，请写成如 2024-05-01。"_qs.arg(
                name, optionValue(args, name)));
    }
    return std::nullopt;
}

// A failed read is refused with its message, never printed or exported as an empty list.
QueryOutcome fillStock(const Command& command, const ListRequest& request, ReportListModel& list)
{
    if (request.search)
        return SearchStock(command.connection, list, request.field, request.text);
    return RefreshStockList(command.connection, list);
}

QueryOutcome fillSummary(const Command& command, const ListRequest& request, ReportListModel& list)
{
    TerminalProgress progress(u"正在统计"_qs);
    return BuildMonthlySummary(command.connection, list, request.from, request.to,
                               [&progress](int done, int total) { progress.show(done, total); });
}

// A CSV file for spreadsheets: UTF-8 with a byte order mark (so that they read it as UTF-8),
// no cell a spreadsheet would run as a formula, put in place once whole.
int exportCsv(const ReportListModel& list, const QString& path)
{
    QList<QStringList> rows = list.cellTexts();
    for (QStringList& row : rows)
        for (QString& cell : row)
            cell = spreadsheetText(cell);
    QString reason;
    if (replaceFileContent(
            path, "\xEF\xBB\xBF" + formatList(OutputFormat::Csv, list.columns(), rows), &reason))
        return ExitDone;
    return refuse(u"无法写入文件 %1：%2"_qs.arg(path, reason));
}

} // namespace

std::optional<int> checkListUsage(const QCommandLineParser& args)
{
    ListRequest request;
    return readListOptions(args, &request);
}

std::optional<int> checkExportUsage(const QCommandLineParser& args)
{
    const QString what = args.positionalArguments().value(0);
    if (what != u"stock" && what != u"summary")
        return usageError(u"要导出的只能是 stock（库存）或 summary（月度汇总）。"_qs);
    if (optionValue(args, u"o"_qs).isEmpty())
        return usageError(u"请用 -o FILE 指定导出到的文件。"_qs);
    return checkListUsage(args);
}

int runStock(const Command& command)
{
    ListRequest request;
    if (const auto code = readListOptions(command.args, &request))
        return *code;
    ReportListModel list;
    if (const QueryOutcome read = fillStock(command, request, list); !read.done)
        return report(read);
    return printList(request.format, list.columns(), list.cellTexts());
}

int runSummary(const Command& command)
{
    ListRequest request;
    if (const auto code = readListOptions(command.args, &request))
        return *code;
    ReportListModel list;
    if (const QueryOutcome read = fillSummary(command, request, list); !read.done)
        return report(read);
    return printList(request.format, list.columns(), list.cellTexts());
}

int runExport(const Command& command)
{
    // The options were checked before the login (checkExportUsage).
    const QString what = command.args.positionalArguments().value(0);
    const QString output = optionValue(command.args, u"o"_qs);
    ListRequest request;
    if (const auto code = readListOptions(command.args, &request))
        return *code;

    ReportListModel list;
    const bool stock = what == u"stock";
    if (const QueryOutcome read =
            stock ? fillStock(command, request, list) : fillSummary(command, request, list);
        !read.done)
        return report(read);

    if (QFileInfo(output).suffix().compare(u"csv"_qs, Qt::CaseInsensitive) == 0)
        return exportCsv(list, output);
    ListExportRequest exportRequest;
    for (const ReportColumn& column : list.columns())
        exportRequest.titles.append(column.title);
    exportRequest.rows = list.cellTexts();
    exportRequest.sheetName = stock ? u"库存"_qs : u"月度汇总"_qs;
    exportRequest.outputPath = workbookFileName(output);
    TerminalProgress progress(u"正在导出"_qs);
    const ListExportOutcome outcome = exportList(
        exportRequest, [&progress](int written, int total) { progress.show(written, total); });
    if (outcome.done && exportRequest.outputPath != output)
        printLine(stderr, u"文件名不以 .xls、.xlsx 或 .csv 结尾，已导出到 "_qs +
                              QDir::toNativeSeparators(exportRequest.outputPath));
    return report(outcome);
}

} // namespace mv::cli
