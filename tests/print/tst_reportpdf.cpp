// Reports as they land on paper: each case builds a report, renders it to PDF and reads the
// words' positions back with pdftotext -bbox.

#include "common/messages.h"
#include "print/reportlayout.h"
#include "print/tablefile.h"
#include "print/tablerenderer.h"
#include "stock/stocklist.h"
#include "support/scriptedresponder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace mv;
using mv::test::ScriptedResponder;

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

struct Word
{
    QString text;
    QRectF box; // points
};

struct Page
{
    QSizeF size; // points
    QList<Word> words;
    QString text() const
    {
        QString all;
        for (const Word& w : words)
            all += w.text + QLatin1Char(' ');
        return all;
    }
    const Word* find(const QString& text) const
    {
        for (const Word& w : words)
            if (w.text == text)
                return &w;
        return nullptr;
    }
};

// The pages of the report rendered to PDF, with their words.
QList<Page> renderedPages(const PrintTable& table)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    if (!renderPrintTableToPdf(table, pdf))
        return {};
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    const QString xhtml = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" "
                       "yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Page> pages;
    for (auto it = tag.globalMatch(xhtml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.append({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        } else if (!pages.isEmpty()) {
            const QPointF topLeft(m.captured(3).toDouble(), m.captured(4).toDouble());
            const QPointF bottomRight(m.captured(5).toDouble(), m.captured(6).toDouble());
            pages.last().words.append({m.captured(7), QRectF(topLeft, bottomRight)});
        }
    }
    return pages;
}

ReportSource listOf(int rows, const QList<ReportColumn>& columns)
{
    ReportSource s;
    s.columns = columns;
    for (int i = 1; i <= rows; ++i) {
        QStringList cells;
        for (int c = 0; c < columns.size(); ++c)
            cells << (c == 1 ? QStringLiteral("型材%1").arg(i) : QString::number(i * (c + 1)));
        s.rows.append(cells);
    }
    return s;
}

ReportRequest requestFor(const ReportSource& source)
{
    ReportRequest q;
    q.title = QStringLiteral("库存");
    q.titleFont.size = 59;
    for (int c = 0; c < source.columns.size(); ++c)
        q.printColumns << c;
    return q;
}

PrintTable built(const ReportRequest& request, const ReportSource& source)
{
    const ReportBuildResult result = buildReportTable(request, source, builtInReportTemplate());
    return result.table;
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    // A4 portrait with the serial column and two custom columns: wider than the room within
    // the margins though narrower than the sheet. The question is asked, and after OK the
    // last column ends inside the printable area.
    void nothingFallsOffThePaper()
    {
        ScriptedResponder responder;
        responder.queueAnswer(AnswerOk);
        const ReportSource source = listOf(5, {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                                               {QStringLiteral("名称"), 300, Qt::AlignLeft},
                                               {QStringLiteral("数量"), 100, Qt::AlignRight},
                                               {QStringLiteral("单价"), 100, Qt::AlignRight}});
        ReportRequest q = requestFor(source);
        q.orientation = 0;
        q.serial = true;
        q.customColumns = {{QStringLiteral("金额"), QStringLiteral("[数量]*[单价]")},
                           {QStringLiteral("末列"), QStringLiteral("[数量]+1")}};
        const PrintTable table = built(q, source);
        QCOMPARE(responder.messages.size(), 1);
        QCOMPARE(responder.messages[0].title, QStringLiteral("询问"));
        const QList<Page> pages = renderedPages(table);
        QCOMPARE(pages.size(), 1);
        const Word* last = pages[0].find(QStringLiteral("末列"));
        QVERIFY(last);
        const double right = pages[0].size.width() - 18 * kPointsPerMm;
        for (const Word& w : pages[0].words)
            QVERIFY2(w.box.right() <= right + 0.5 && w.box.left() >= 18 * kPointsPerMm - 0.5,
                     qPrintable(w.text));
    }

    // 居中打印: the title (centred over the table) sits in the middle of the sheet.
    void centredIsCentred_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::newRow("portrait") << 0;
        QTest::newRow("landscape") << 1;
    }

    void centredIsCentred()
    {
        QFETCH(int, orientation);
        const ReportSource source = listOf(3, {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                                               {QStringLiteral("名称"), 100, Qt::AlignLeft}});
        ReportRequest q = requestFor(source);
        q.orientation = orientation;
        q.centred = true;
        const QList<Page> pages = renderedPages(built(q, source));
        QCOMPARE(pages.size(), 1);
        const Word* title = pages[0].find(QStringLiteral("库存"));
        QVERIFY(title);
        QVERIFY2(qAbs(title->box.center().x() - pages[0].size.width() / 2) <= kPointsPerMm,
                 qPrintable(QString::number(title->box.center().x())));
    }

    // 三十二开 landscape, body font 45: one row fits a page, and every page prints one.
    void tinyPagesPrintTheData()
    {
        const ReportSource source = listOf(6, {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                                               {QStringLiteral("名称"), 100, Qt::AlignLeft}});
        ReportRequest q = requestFor(source);
        q.paper = 7;
        q.orientation = 1;
        q.bodyFontSize = 45;
        q.footerParts = {QStringLiteral("页脚")};
        const QList<Page> pages = renderedPages(built(q, source));
        QCOMPARE(pages.size(), 6);
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY2(pages[i].find(QStringLiteral("型材%1").arg(i + 1)),
                     qPrintable(pages[i].text()));
            QVERIFY(pages[i].find(QStringLiteral("页脚")));
        }
    }

    // The stock list is wider than A4 landscape: after OK it is scaled, its 40 rows fill one
    // page, and the chosen page number still prints.
    void scaledStockListOnOnePage()
    {
        ScriptedResponder responder;
        responder.queueAnswer(AnswerOk);
        const ReportSource source = listOf(40, stockListColumns());
        ReportRequest q = requestFor(source);
        q.pageNumberPosition = 5;
        const QList<Page> pages = renderedPages(built(q, source));
        QCOMPARE(responder.messages.size(), 1);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].find(QStringLiteral("型材40")));
        QVERIFY(pages[0].text().contains(QStringLiteral("第 1 页")));
    }

    // A title wider than its table (of two columns, or of one, where the title is no merge)
    // is printed smaller, whole, within the table.
    void longTitleStaysWithinTheTable_data()
    {
        QTest::addColumn<int>("columns");
        QTest::newRow("two columns") << 2;
        QTest::newRow("one column") << 1;
    }

    void longTitleStaysWithinTheTable()
    {
        QFETCH(int, columns);
        const ReportSource source = listOf(2, {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                                               {QStringLiteral("名称"), 100, Qt::AlignLeft}});
        ReportRequest q = requestFor(source);
        q.printColumns = q.printColumns.mid(0, columns);
        q.title = QStringLiteral("二零二四年第三季度铝型材原材料仓库库存明细报表");
        const PrintTable table = built(q, source);
        const QList<Page> pages = renderedPages(table);
        QCOMPARE(pages.size(), 1);
        const double left = table.pageSettings().marginLeft / 10.0 * kPointsPerMm;
        const double right = left + table.tableWidth() / 10.0 * kPointsPerMm;
        const Word* title = pages[0].find(q.title);
        QVERIFY2(title, qPrintable(pages[0].text()));
        QVERIFY(title->box.left() >= left - 0.5 && title->box.right() <= right + 0.5);
    }
};

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
