// Report print benchmark: the preview table built through the module's own path (progress
// window, busy cursor, event pumping) for 1 000 and 10 000 stock rows with 3 custom
// columns, the cost of custom cells against plain cells, and PDF rendering per page.
// Prints the figures and their ratios; not part of the test run.

#include "app/reportprint.h"
#include "common/messages.h"
#include "print/tablerenderer.h"
#include "widgets/reportlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace mv;

namespace {

// Answers every message with OK (the page-width question fits the width).
class OkResponder : public MessageResponder
{
public:
    int message(const QString&, int, const QString&) override { return AnswerOk; }
    InputAnswer input(const QString&, const QString&, const QString&) override { return {}; }
    QString fileName(bool, const QString&, const QString&, const QString&) override { return {}; }
};

void fillStockList(ReportList& list, int rows)
{
    list.setColumns({{u"编号"_qs, 50},
                     {u"库存分类"_qs, 100},
                     {u"名称"_qs, 150},
                     {u"型号"_qs, 150},
                     {u"现存量"_qs, 80},
                     {u"单位"_qs, 50},
                     {u"单价"_qs, 60},
                     {u"数量"_qs, 60},
                     {u"备注"_qs, 200},
                     {u"长度"_qs, 60},
                     {u"重量"_qs, 60},
                     {u"产地"_qs, 80}});
    QList<ReportRow> all;
    all.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        all.append(
            ReportRow{{QString::number(i), u"铝材"_qs, u"型材%1"_qs.arg(i % 997),
                       u"XC-%1"_qs.arg(i % 131), QString::number(i % 500), u"支"_qs,
                       QString::number(12.5 + i % 17), QString::number(i % 40), u"备注"_qs,
                       QString::number(6000 + i % 9), QString::number(1.5 + i % 7), u"佛山"_qs}});
    list.model()->setRows(all);
}

ReportRequest requestFor(int printColumns, bool custom)
{
    ReportRequest q;
    q.title = u"库存明细"_qs;
    q.titleFont.size = 59;
    q.serial = true;
    for (int c = 0; c < printColumns; ++c)
        q.printColumns << c;
    q.paper = 0;
    q.orientation = 1;
    q.totalsKind = kTotalsStatistics;
    q.statisticsColumns = {u"现存量"_qs};
    q.footerParts = {u"制表"_qs, u"审核"_qs};
    if (custom)
        q.customColumns = {{u"金额"_qs, u"[单价]*[数量]"_qs},
                           {u"余额"_qs, u"[现存量]*[单价]"_qs},
                           {u"差额"_qs, u"([数量]-[现存量])/2"_qs}};
    return q;
}

// Best of seven builds, in milliseconds.
double timeBuild(ReportPrint& module, const ReportRequest& request, PrintTable* table = nullptr)
{
    double best = 1e300;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer clock;
        clock.start();
        ReportBuildResult result = module.buildTable(request);
        best = std::min(best, clock.nsecsElapsed() / 1e6);
        if (table)
            *table = result.table;
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OkResponder responder;
    setMessageResponder(&responder);
    QWidget owner;
    ReportList list(&owner);
    ReportPrint module(&owner);
    module.OpenReportPrint(&list, 0, QString(), QString());
    if (module.settingsWindow())
        module.settingsWindow()->close();

    double build[2] = {};
    const int sizes[2] = {1000, 10000};
    PrintTable largest;
    for (int i = 0; i < 2; ++i) {
        fillStockList(list, sizes[i]);
        build[i] = timeBuild(module, requestFor(9, true), i == 1 ? &largest : nullptr);
        std::printf("build %5d rows, 3 custom columns: %8.1f ms\n", sizes[i], build[i]);
    }
    std::printf("10 000 / 1 000 rows: %.2fx (limit 12x)\n", build[1] / build[0]);

    // Custom cells against the same number of plain cells: 9 print columns plus 3 custom
    // ones, against 12 print columns, both over the 9-column build.
    const double base = timeBuild(module, requestFor(9, false));
    const double plain = timeBuild(module, requestFor(12, false)) - base;
    const double custom = build[1] - base;
    std::printf("30 000 plain cells: %.1f ms, 30 000 custom cells: %.1f ms, ratio %.2fx "
                "(limit 2x)\n",
                plain, custom, plain > 0 ? custom / plain : 0.0);

    QTemporaryDir dir;
    const int pages = int(planPages(largest).size());
    QElapsedTimer clock;
    clock.start();
    const bool rendered = renderPrintTableToPdf(largest, dir.filePath(u"bench.pdf"_qs));
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("PDF of 10 000 rows: %d pages in %.1f ms, %.2f ms per page%s\n", pages, ms,
                ms / std::max(1, pages), rendered ? "" : " (FAILED)");
    setMessageResponder(nullptr);
    return rendered ? 0 : 1;
}
