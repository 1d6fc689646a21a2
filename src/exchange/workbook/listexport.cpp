#include "exchange/workbook/listexport.h"

#include "exchange/workbook/workbookwriter.h"

#include <QFileInfo>

namespace mv {

namespace {

// Rows between two progress reports.
constexpr int kProgressStep = 512;

ListExportOutcome failed(const QString& message)
{
    ListExportOutcome outcome;
    outcome.message = message;
    outcome.title = QStringLiteral("错误");
    return outcome;
}

} // namespace

QString workbookFileName(const QString& chosen)
{
    const QString suffix = QFileInfo(chosen).suffix();
    if (chosen.isEmpty() || suffix.compare(u"xls"_qs, Qt::CaseInsensitive) == 0 ||
        suffix.compare(u"xlsx"_qs, Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + QStringLiteral(".xls");
}

QString continuationSheetName(const QString& sheetName, int n)
{
    const QString suffix = QStringLiteral("(%1)").arg(n);
    return sheetName.left(31 - suffix.size()) + suffix;
}

ListExportOutcome exportList(const ListExportRequest& request, const ExportProgress& progress)
{
    if (request.outputPath.isEmpty())
        return failed(QStringLiteral("没有指定要保存的文件名。"));
    if (request.titles.isEmpty())
        return failed(QStringLiteral("列表中没有列，无法导出。"));
    const QString sheetName =
        request.sheetName.isEmpty() ? QStringLiteral("Sheet1") : request.sheetName;
    const QString problem = sheetNameProblem(sheetName);
    if (!problem.isEmpty())
        return failed(problem + QStringLiteral("。"));

    const auto writer = createWorkbookWriter(request.outputPath);
    if (request.titles.size() > writer->maxColumns())
        return failed(
            QStringLiteral("导出失败：列数超过该文件格式 %1 列的上限。").arg(writer->maxColumns()));
    const int columns = int(request.titles.size());
    ListExportOutcome outcome;
    const auto startSheet = [&] {
        ++outcome.sheets;
        const QString name =
            outcome.sheets == 1 ? sheetName : continuationSheetName(sheetName, outcome.sheets);
        return writer->beginSheet(name) && writer->addRow(request.titles);
    };
    bool ok = startSheet();
    int rowsInSheet = 1;
    const int total = int(request.rows.size());
    for (int r = 0; ok && r < total; ++r) {
        if (rowsInSheet == writer->maxRows()) {
            ok = startSheet();
            rowsInSheet = 1;
        }
        // Cells past the last column have no title: they are not part of the list.
        const QStringList& cells = request.rows.at(r);
        ok = ok && writer->addRow(cells.size() > columns ? cells.first(columns) : cells);
        ++rowsInSheet;
        if (ok && progress && ((r + 1) % kProgressStep == 0 || r + 1 == total))
            progress(r + 1, total);
    }
    if (!ok || !writer->finish())
        return failed(QStringLiteral("导出失败：%1。").arg(writer->errorString()));
    outcome.done = true;
    return outcome;
}

} // namespace mv
