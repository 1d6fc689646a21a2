// The report layout on the print table: each case builds a preview table from a small list
// and compares its dump (plus the messages shown) with an expected file.

#include "common/texts.h"
#include "print/numberformat.h"
#include "print/reportlayout.h"
#include "print/tabledump.h"
#include "print/tablefile.h"
#include "print/tablerenderer.h"
#include "support/expectedtext.h"
#include "support/scriptedresponder.h"

#include <QTest>
#include <functional>

using namespace mv;
using mv::test::matchesExpected;
using mv::test::ScriptedResponder;

namespace {

ReportSource smallList(int rows = 5)
{
    ReportSource s;
    s.columns = {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                 {QStringLiteral("名称"), 100, Qt::AlignLeft},
                 {QStringLiteral("数量"), 50, Qt::AlignRight},
                 {QStringLiteral("单价"), 50, Qt::AlignHCenter}};
    const QStringList prices{QStringLiteral("2.5"), QStringLiteral("１０"), QStringLiteral("暂无"),
                             QStringLiteral("0.125"), QStringLiteral("1234.5")};
    for (int i = 1; i <= rows; ++i)
        s.rows.append({QStringLiteral("A%1").arg(i), QStringLiteral("型材%1").arg(i),
                       QString::number(i * 10), prices[(i - 1) % prices.size()]});
    return s;
}

ReportRequest baseRequest()
{
    ReportRequest q;
    q.title = QStringLiteral("库存");
    q.titleFont.size = 40;
    q.headerParts = {QString()};
    q.printColumns = {0, 1, 2, 3};
    q.orientation = 0;
    return q;
}

using Change = std::function<void(ReportRequest&, ReportSource&)>;

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("answer");
        auto add = [](const char* name, Change change, int answer = AnswerOk) {
            QTest::newRow(name) << QString::fromLatin1(name) << change << answer;
        };
        add("plain", [](ReportRequest&, ReportSource&) {});
        add("serial_count_header1", [](ReportRequest& q, ReportSource&) {
            q.serial = true;
            q.totalsKind = kTotalsCount;
            q.headerParts = {QStringLiteral("仓库一")};
            q.lineStyle = 2;
            q.colourScheme = 1;
            q.titleRowColour = 0xCEDFDE;
            q.oddColour = 0xDEEFEF;
            q.titleFont.bold = true;
            q.titleFont.colour = 0x0000FF;
        });
        add("statistics_header3_rows", [](ReportRequest& q, ReportSource&) {
            q.serial = true;
            q.totalsKind = kTotalsStatistics;
            q.statisticsColumns = {QStringLiteral("数量"), QStringLiteral("单价"),
                                   QStringLiteral("不存在")};
            q.totalsDecimals = 1;
            q.totalsSeparators = true;
            q.headerParts = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
            q.lineStyle = 3;
            q.colourScheme = 2;
            q.titleRowColour = 0x111111;
            q.oddColour = 0x222222;
            q.evenColour = 0x333333;
        });
        // Without the serial column the sum takes column 1 from "统计".
        add("one_column_sum_wins", [](ReportRequest& q, ReportSource&) {
            q.printColumns = {2};
            q.totalsKind = kTotalsStatistics;
            q.statisticsColumns = {QStringLiteral("数量")};
        });
        // Capacity 15 bytes: the cut keeps whole characters; the footer is cut too.
        add("header_cut_columns_colours", [](ReportRequest& q, ReportSource&) {
            q.printColumns = {1};
            q.headerParts = {QStringLiteral("ab仓库原材料明细报表")};
            q.footerParts = {QStringLiteral("制表人：张三"), QStringLiteral("审核人：李四")};
            q.lineStyle = 4;
            q.colourScheme = 3;
            q.titleRowColour = 0x111111;
            q.oddColour = 0x222222;
            q.evenColour = 0x333333;
        });
        add("custom_columns", [](ReportRequest& q, ReportSource&) {
            q.serial = true;
            q.printColumns = {1, 2, 3};
            q.customColumns = {{QStringLiteral("金额"), QStringLiteral("[数量]*[单价]")},
                               {QStringLiteral("未印"), QStringLiteral("[编号]*2")},
                               {QStringLiteral("序乘"), QStringLiteral("[序号]*(1+[数量])/3")}};
            q.customDecimals = 2;
            q.customSeparators = true;
            q.totalsKind = kTotalsStatistics;
            q.statisticsColumns = {QStringLiteral("金额")};
        });
        add("fixed_rows_remark_centred", [](ReportRequest& q, ReportSource&) {
            q.rowsPerPage = 2;
            q.footerParts = {QStringLiteral("第一"), QStringLiteral("第二")};
            q.remark = QStringLiteral("备注文字");
            q.centred = true;
            q.pageNumberPosition = 6;
        });
        add("automatic_pages", [](ReportRequest& q, ReportSource& s) {
            s = smallList(12);
            q.printColumns = {0, 2};
            q.bodyFontSize = 150;
            q.footerParts = {QStringLiteral("页脚")};
        });
        add("width_ok_fits", [](ReportRequest& q, ReportSource& s) {
            for (ReportColumn& c : s.columns)
                c.width *= 3;
            q.paper = 7;
            q.rowsPerPage = 2;
            q.pageNumberPosition = 3;
        });
    }

    void layouts()
    {
        QFETCH(QString, name);
        QFETCH(Change, change);
        QFETCH(int, answer);
        ScriptedResponder responder;
        responder.queueAnswer(answer);
        ReportRequest request = baseRequest();
        ReportSource source = smallList();
        change(request, source);
        int pumped = 0;
        const ReportBuildResult result = buildReportTable(request, source, builtInReportTemplate(),
                                                          {[&pumped] { ++pumped; }, {}});
        QCOMPARE(result.status, ReportBuildStatus::Built);
        QVERIFY(pumped >= source.rows.size());
        QString dump = dumpPrintTable(result.table);
        for (const auto& m : responder.messages)
            dump += QStringLiteral("message %1 [%2] %3\n").arg(m.code).arg(m.title, m.text);
        QVERIFY(matchesExpected(dump, QStringLiteral("layout_%1.txt").arg(name)));
    }

    void widthCancelAndMissingTemplate()
    {
        ScriptedResponder responder;
        responder.queueAnswer(AnswerCancel);
        ReportRequest q = baseRequest();
        q.paper = 7;
        ReportSource s = smallList();
        s.columns[1].width = 400;
        bool hidden = false;
        ReportBuildResult r =
            buildReportTable(q, s, builtInReportTemplate(), {{}, [&hidden] { hidden = true; }});
        QCOMPARE(r.status, ReportBuildStatus::Cancelled);
        QVERIFY(hidden);
        QCOMPARE(responder.messages.size(), 1);
        QCOMPARE(responder.messages[0].code, int(MsgOkCancelWarn));
        QCOMPARE(responder.messages[0].title, QStringLiteral("询问"));

        responder.clear();
        r = buildReportTable(q, s, QByteArray());
        QCOMPARE(r.status, ReportBuildStatus::NoTemplate);
        QCOMPARE(responder.lastText(), QStringLiteral("找不到打印表格模板！"));
    }

    void edgeCases()
    {
        ScriptedResponder responder;
        // A page that holds no rows and a zero row height both give one row per page.
        QCOMPARE(automaticRowsPerPage(2000, 0), 1);
        QCOMPARE(automaticRowsPerPage(100, 50), 1);
        QCOMPARE(automaticRowsPerPage(2000, 45), 40);
        // An empty list without totals has no row 4: the build still ends.
        ReportRequest q = baseRequest();
        ReportSource s = smallList(0);
        ReportBuildResult r = buildReportTable(q, s, builtInReportTemplate());
        QCOMPARE(r.status, ReportBuildStatus::Built);
        QCOMPARE(r.table.text(3, 2), QStringLiteral("名称"));
        // Nothing ticked with the count row: " 合计共 0 条记录".
        q.totalsKind = kTotalsCount;
        r = buildReportTable(q, s, builtInReportTemplate());
        QCOMPARE(r.table.text(4, 1), QStringLiteral(" 合计共 0 条记录"));
        // The statistics row of a custom column adds up the values as the column prints them
        // (0.4, 0.8, 1.2 printed with 0 decimals).
        q = baseRequest();
        s = smallList(3);
        q.customColumns = {{QStringLiteral("份"), QStringLiteral("[数量]/25")}};
        q.customDecimals = 0;
        q.totalsKind = kTotalsStatistics;
        q.statisticsColumns = {QStringLiteral("份")};
        r = buildReportTable(q, s, builtInReportTemplate());
        double printed = 0;
        for (int row = 4; row <= 6; ++row)
            printed += toNumber(r.table.text(row, 5));
        QCOMPARE(r.table.text(7, 5), FormatNumber(printed, 2, false));
        QCOMPARE(r.table.text(7, 5), QStringLiteral("2.00"));
        // The list sorted by 数量 while its settings were open: its title carries the sort mark
        // the formula and the statistics do not; every figure stays as without it.
        q.customColumns = {{QStringLiteral("金额"), QStringLiteral("[数量]*2")}};
        q.statisticsColumns = {QStringLiteral("数量"), QStringLiteral("金额")};
        const PrintTable unsorted = buildReportTable(q, s, builtInReportTemplate()).table;
        s.columns[2].title += QStringLiteral("▽");
        r = buildReportTable(q, s, builtInReportTemplate());
        for (int row = 4; row <= 7; ++row)
            for (int c = 1; c <= unsorted.columnCount(); ++c)
                QCOMPARE(r.table.text(row, c), unsorted.text(row, c));
        QCOMPARE(r.table.text(7, 5), QStringLiteral("120.00"));
        // On paper every page ends with its footer after as many rows as the others, however
        // long the list; a list no longer than the rows per page set is one page, its footer
        // and remark on it.
        q = baseRequest();
        q.footerParts = {QStringLiteral("页脚")};
        r = buildReportTable(q, smallList(1000), builtInReportTemplate());
        const QList<PageRows> pages = planPages(r.table);
        QVERIFY(pages.size() > 2);
        const QString footer = r.table.text(r.table.rowCount(), 1);
        for (const PageRows& page : pages) {
            QCOMPARE(r.table.text(page.last, 1), footer);
            if (page.first != pages.last().first)
                QCOMPARE(page.last - page.first, pages.first().last - pages.first().first);
        }
        q.rowsPerPage = 5;
        q.remark = QStringLiteral("备注文字");
        for (int rows : {3, 5})
            QCOMPARE(planPages(buildReportTable(q, smallList(rows), builtInReportTemplate()).table)
                         .size(),
                     1);
        // Header spreading: an empty header is one empty part; a single part stands alone.
        bool tooLong = true;
        QCOMPARE(spreadLine({QString()}, 650, &tooLong), QString());
        QVERIFY(!tooLong);
        QCOMPARE(spreadLine({QStringLiteral("ab"), QStringLiteral("cd"), QStringLiteral("ef")}, 170,
                            &tooLong),
                 QStringLiteral("ab  cd  ef"));
        QCOMPARE(spreadLine({QStringLiteral("长")}, 17, &tooLong), QString());
        QVERIFY(tooLong);
    }
};

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
