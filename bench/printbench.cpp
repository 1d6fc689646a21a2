// Report print benchmark: the path the user triggers with 打印预览, building the preview
// table through the module (progress window, busy cursor, event pumping) and opening the
// preview, which paints every page: 10 000 stock rows with 3 custom columns against the same
// without them (target <= 1.5x), 10 000 rows against 1 000 (linear: target <= 12x), and PDF
// rendering per page. Prints the figures, their ratios, targets and PASS/FAIL; exits 1 on a
// FAIL. Not part of the test run.

#include "common/messages.h"
#include "gui/printing/reportprint.h"
#include "print/tablerenderer.h"
#include "widgets/reportlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <tuple>

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

// The best of several 打印预览 presses, in milliseconds: from the request to the preview on
// screen with every page painted (the preview is closed at once). The two requests take
// turns, so a busy moment of the machine weighs on both alike.
std::pair<double, double> timePreviews(ReportPrint& module, const ReportRequest& a,
                                       const ReportRequest& b, int runs)
{
    double best[2] = {1e300, 1e300};
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < 2; ++i) {
            QElapsedTimer clock;
            clock.start();
            module.BuildReportPreview(i == 0 ? a : b);
            best[i] = std::min(best[i], clock.nsecsElapsed() / 1e6);
        }
    }
    return {best[0], best[1]};
}

bool report(const char* label, double ratio, double limit)
{
    const bool pass = ratio <= limit;
    std::printf("%-46s %6.2fx   target <= %.1fx   %s\n", label, ratio, limit,
                pass ? "PASS" : "FAIL");
    return pass;
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
    // The preview is closed as soon as it is on screen.
    QObject::connect(&module, &ReportPrint::previewShown, [](QPrintPreviewDialog* dialog) {
        QTimer::singleShot(0, dialog, &QDialog::reject);
    });

    const int sizes[2] = {1000, 10000};
    double custom[2] = {};
    double plain[2] = {};
    for (int i = 0; i < 2; ++i) {
        fillStockList(list, sizes[i]);
        std::tie(plain[i], custom[i]) =
            timePreviews(module, requestFor(9, false), requestFor(9, true), i == 0 ? 25 : 7);
        std::printf("preview %5d rows: %8.1f ms without custom columns, %8.1f ms with 3\n",
                    sizes[i], plain[i], custom[i]);
    }
    // Where the time goes: the table alone, without the preview.
    for (bool withCustom : {false, true}) {
        double best = 1e300;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            module.buildTable(requestFor(9, withCustom));
            best = std::min(best, clock.nsecsElapsed() / 1e6);
        }
        std::printf("  of which the table of 10 000 rows %s: %8.1f ms\n",
                    withCustom ? "with 3 custom columns" : "without custom columns", best);
    }
    bool pass = report("10 000 rows, 3 custom columns / none", custom[1] / plain[1], 1.5);
    pass = report("10 000 / 1 000 rows, 3 custom columns", custom[1] / custom[0], 12) && pass;

    const ReportBuildResult largest = module.buildTable(requestFor(9, true));
    QTemporaryDir dir;
    const int pages = int(planPages(largest.table).size());
    QElapsedTimer clock;
    clock.start();
    const bool rendered = renderPrintTableToPdf(largest.table, dir.filePath(u"bench.pdf"_qs));
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("PDF of 10 000 rows: %d pages in %.1f ms, %.2f ms per page%s\n", pages, ms,
                ms / std::max(1, pages), rendered ? "" : " (FAILED)");
    setMessageResponder(nullptr);
    return rendered && pass ? 0 : 1;
}
