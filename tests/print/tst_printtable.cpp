// The print table model, its file format and its rendering to PDF.

#include "documents/printtemplate.h"
#include "print/printtable.h"
#include "print/reportlayout.h"
#include "print/tabledump.h"
#include "print/tablefile.h"
#include "print/tablerenderer.h"
#include "support/expectedtext.h"
#include "support/filesizelimit.h"
#include "support/printtablefile.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace mv;
using mv::test::matchesExpected;

namespace {

// A small table exercising merges, borders, fonts and colours through inserts and deletes.
PrintTable sampleTable()
{
    PrintTable t(3, 2);
    t.setText(1, 1, QStringLiteral("标题"));
    t.merge(1, 1, 1, 2);
    t.setText(3, 1, QStringLiteral("名称"));
    t.setText(3, 2, QStringLiteral("数量"));
    t.insertColumns(2, 2); // inside the title merge: it grows to 4 columns
    t.setText(3, 2, QStringLiteral("型号"));
    t.appendRows(2);
    t.insertRows(4, 1); // below the merge: it stays
    t.setBorders(3, 1, 6, 4, EdgeAll, true);
    t.setBorders(4, 1, 6, 4, EdgeInnerVertical, false);
    t.setAlignment(4, 4, 6, 4, kAlignRight);
    t.setStyle(3, 1, 3, 4, kStyleBold);
    t.setBackground(3, 1, 3, 4, 0x00CEDFDE);
    t.setTextColour(1, 1, 1, 1, 0x0000FF); // red as COLORREF
    t.setFontName(1, 1, 1, 4, QStringLiteral("黑体"));
    t.setFontSize(1, 1, 1, 4, 60);
    t.setRowHeight(1, 180);
    t.setColumnWidth(4, 300);
    t.deleteColumns(3, 1); // out of the title merge and the borders' middle
    t.setFixedRows(3);
    t.setPageBreakAfter(4, true);
    PageSettings p;
    p.paper = 5;
    p.orientation = 1;
    p.pageNumberPosition = 5;
    p.documentName = QStringLiteral("样表");
    t.setPageSettings(p);
    return t;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A report of rows lines (code, name, quantity) as the preview builds it.
PrintTable reportOf(int rows, int paper, int orientation)
{
    ReportSource source;
    source.columns = {{QStringLiteral("编号"), 60, Qt::AlignLeft},
                      {QStringLiteral("名称"), 120, Qt::AlignLeft},
                      {QStringLiteral("数量"), 60, Qt::AlignRight}};
    for (int i = 1; i <= rows; ++i)
        source.rows.append(
            {QString::number(i), QStringLiteral("铝型材%1").arg(i), QString::number(i * 3)});
    ReportRequest request;
    request.title = QStringLiteral("库存报表");
    request.titleFont.size = 50;
    request.printColumns = {0, 1, 2};
    request.paper = paper;
    request.orientation = orientation;
    request.pageNumberPosition = 5;
    request.footerParts = {QStringLiteral("制表人")};
    return buildReportTable(request, source, builtInReportTemplate()).table;
}

} // namespace

class TestPrintTable : public QObject
{
    Q_OBJECT
private slots:
    void operationsAndDump()
    {
        const PrintTable t = sampleTable();
        QVERIFY(matchesExpected(dumpPrintTable(t), QStringLiteral("table_operations.txt")));
        // Out-of-range positions change nothing.
        PrintTable u = t;
        u.insertRows(0, 1);
        u.insertColumns(9, 1);
        u.setText(99, 1, QStringLiteral("x"));
        QCOMPARE(dumpPrintTable(u), dumpPrintTable(t));
        QCOMPARE(colourRefToRgb(0x0000FF), 0xFFFF0000u);
        QCOMPARE(rgbToColourRef(0xFF00FF00u), 0x00FF00);
    }

    void fileRoundTripAndRefusals()
    {
        const PrintTable t = sampleTable();
        PrintTable back;
        QVERIFY(loadPrintTable(savePrintTable(t), back));
        QCOMPARE(dumpPrintTable(back), dumpPrintTable(t));
        QCOMPARE(back.pageSettings(), t.pageSettings());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.gjbg"));
        QVERIFY(test::savePrintTableFile(t, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(loadPrintTable(file.readAll(), back));
        QCOMPARE(dumpPrintTable(back), dumpPrintTable(t));

        QString error;
        PrintTable untouched(1, 1);
        QVERIFY(!loadPrintTable("{not json", untouched, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!loadPrintTable(R"({"format":"other","rows":1,"columns":1})", untouched));
        QVERIFY(!loadPrintTable(
            R"({"format":"morvane-print-table","rows":1,"columns":1,"cells":[{"r":2,"c":1}]})",
            untouched, &error));
        QCOMPARE(untouched.rowCount(), 1);
        QVERIFY(!test::savePrintTableFile(t, dir.filePath(QStringLiteral("no/such/dir/t.gjbg"))));

        // A file asking for too many rows or columns or too long a text is damaged.
        const QByteArray head = R"({"format":"morvane-print-table",)";
        bool tooLarge = false;
        QVERIFY(loadPrintTable(head + R"("rows":10000,"columns":200})", back, &error, &tooLarge));
        QVERIFY(!tooLarge);
        const QString longText(kMaxCellTextBytes / 2 + 1, QChar(0x6599)); // 3 bytes each
        for (const QByteArray& json : QList<QByteArray>{
                 head + R"("rows":10001,"columns":1})", head + R"("rows":1,"columns":201})",
                 head + R"("rows":1,"columns":1,"cells":[{"r":1,"c":1,"text":")" +
                     longText.toUtf8() + R"("}]})"}) {
            QVERIFY(!loadPrintTable(json, untouched, &error, &tooLarge));
            QVERIFY(tooLarge);
            QCOMPARE(untouched.rowCount(), 1);
        }
        const QString form = dir.filePath(QStringLiteral("rk.gjbg"));
        QFile big(form);
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(head + R"("rows":2000000000,"columns":2000000000})");
        big.close();
        const DocumentOutcome refused =
            loadPrintTemplate(DocumentKind::Receipt, {dir.path()}, untouched);
        QCOMPARE(refused.message,
                 QStringLiteral("打印模板已损坏") + QDir::toNativeSeparators(form));

        PrintTable builtIn;
        QVERIFY(loadPrintTable(builtInReportTemplate(), builtIn));
        QCOMPARE(builtIn.rowCount(), 3);
        QCOMPARE(builtIn.columnCount(), 2);
    }

    void pagePlan()
    {
        // Marked breaks end pages; without them the record's rows per page or the height do.
        PrintTable t(13, 1);
        t.setFixedRows(3);
        t.setPageBreakAfter(6, true);
        QList<PageRows> pages = planPages(t);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].first, 4);
        QCOMPARE(pages[0].last, 6);
        QCOMPARE(pages[1].first, 7);
        QCOMPARE(pages[1].last, 13);

        t.setPageBreakAfter(6, false);
        PageSettings p = t.pageSettings();
        p.rowsPerPage = 4;
        t.setPageSettings(p);
        pages = planPages(t);
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[2].first, 12);

        p.rowsPerPage = 0;
        t.setPageSettings(p);
        for (int r = 4; r <= 13; ++r)
            t.setRowHeight(r, 1000); // A4 portrait holds 2 such rows under the fixed ones
        QCOMPARE(planPages(t).size(), 5);
        p.scale = 50;
        t.setPageSettings(p);
        QCOMPARE(planPages(t).size(), 2);
    }

    void multiPagePdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const PrintTable t = reportOf(200, 1, 0);
        QCOMPARE(t.pageSettings().pageNumberPosition, 5);
        const int pages = int(planPages(t).size());
        QVERIFY(pages > 3);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        QVERIFY2(renderPrintTableToPdf(t, pdf, &error), qPrintable(error));
        if (qEnvironmentVariableIsSet("MORVANE_KEEP_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("MORVANE_KEEP_PDF"));

        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))),
                 qPrintable(info));
        const QString text =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pageTexts.size(), pages);
        for (int i = 0; i < pages; ++i) {
            // The fixed rows on every page, the page number and the footer.
            QVERIFY2(pageTexts[i].contains(QStringLiteral("库存报表")), qPrintable(pageTexts[i]));
            QVERIFY(pageTexts[i].contains(QStringLiteral("名称")));
            QVERIFY(pageTexts[i].contains(
                QRegularExpression(QStringLiteral("第\\s*%1\\s*页").arg(i + 1))));
            QVERIFY(pageTexts[i].contains(QStringLiteral("制表人")));
        }
        QVERIFY(text.contains(QStringLiteral("铝型材1 ")));
        QVERIFY(text.contains(QStringLiteral("铝型材200")));
        QVERIFY(pageTexts.last().contains(QStringLiteral("铝型材200")));
    }

    // A disk that fills up while the PDF is written (a file size limit stands in for it):
    // refused with the reason, the PDF saved before kept whole, nothing left beside it.
    void fullDiskKeepsTheOldPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QVERIFY(renderPrintTableToPdf(reportOf(3, 1, 0), pdf));
        const QByteArray before = readAll(pdf);
        QString error;
        bool written = false;
        {
            const mv::test::FileSizeLimit full(2048);
            QVERIFY(full.active());
            written = renderPrintTableToPdf(reportOf(200, 1, 0), pdf, &error);
        }
        QVERIFY(!written);
        QCOMPARE(error, u"文件没有写完（磁盘空间可能已满）"_qs);
        QCOMPARE(readAll(pdf), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"report.pdf"_qs});
    }

    void paperSizes_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("widthMm");
        QTest::addColumn<double>("heightMm");
        QTest::newRow("四开") << 5 << 0 << 215.0 << 275.0;
        QTest::newRow("十六开 横向") << 6 << 1 << 215.0 << 146.0;
        QTest::newRow("三十二开") << 7 << 0 << 97.0 << 151.0;
    }

    void paperSizes()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(double, widthMm);
        QFETCH(double, heightMm);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("paper.pdf"));
        QVERIFY(renderPrintTableToPdf(reportOf(3, paper, orientation), pdf));
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
                .match(info);
        QVERIFY2(size.hasMatch(), qPrintable(info));
        QVERIFY(qAbs(size.captured(1).toDouble() / 72 * 25.4 - widthMm) < 0.5);
        QVERIFY(qAbs(size.captured(2).toDouble() / 72 * 25.4 - heightMm) < 0.5);
    }
};

QTEST_MAIN(TestPrintTable)
#include "tst_printtable.moc"
