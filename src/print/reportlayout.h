#pragma once
// Lays a report out on a print table: title, header line, column titles, data, custom
// columns, totals, line styles, colours, fonts, page settings, footer rows and remark.
// Warnings and the page-width question go through the message service.

#include "print/printtable.h"
#include "print/reportrequest.h"

#include <QByteArray>
#include <functional>

namespace mv {

struct ReportBuildHooks
{
    // Called once per data row while cells are filled (keeps the window responsive).
    std::function<void()> pump;
    // Called before the page-width question is asked (hides the progress window).
    std::function<void()> beforeQuestion;
};

enum class ReportBuildStatus
{
    Built,
    Cancelled,  // the page-width question was answered with Cancel
    NoTemplate, // "找不到打印表格模板！" was shown
};

struct ReportBuildResult
{
    ReportBuildStatus status = ReportBuildStatus::Built;
    PrintTable table;
};

ReportBuildResult buildReportTable(const ReportRequest& request, const ReportSource& source,
                                   const QByteArray& templateBytes,
                                   const ReportBuildHooks& hooks = {});

// A header or footer line from its parts for a table of the given width: spread over the
// capacity (width / 17 bytes) or, when longer, cut there without splitting a character.
// tooLong tells whether the parts did not fit.
QString spreadLine(const QStringList& parts, int tableWidth, bool* tooLong);

// Rows per page of automatic pagination for a page body height and data row height;
// never below 1.
int automaticRowsPerPage(int bodyHeight, int dataRowHeight);

} // namespace mv
