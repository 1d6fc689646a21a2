// Document forms: the templates filled with receipts and requisitions (dumps compared with
// expected files), the template lookup with its fallbacks and refusals, rows that grow for
// wrapped names, and the PDF of each form read back with pdftotext.

#include "documents/documentform.h"
#include "documents/formgrid.h"
#include "documents/printtemplate.h"
#include "print/printtable.h"
#include "print/tabledump.h"
#include "print/tablefile.h"
#include "print/tablerenderer.h"
#include "support/expectedtext.h"
#include "support/printtablefile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace mv;
using mv::test::matchesExpected;

Q_DECLARE_METATYPE(mv::PrintedDocument)

namespace {

const QStringList kBuiltIn{QStringLiteral(":/templates")};

PrintedDocument receipt(const QList<QStringList>& rows, bool editing)
{
    PrintedDocument d;
    d.kind = DocumentKind::Receipt;
    d.number = QStringLiteral("00000012");
    d.date = QDate(2010, 1, 5);
    d.party = QStringLiteral("华东铝业");
    d.maker = QStringLiteral("admin");
    d.rows = rows;
    d.editing = editing;
    return d;
}

PrintedDocument storedReceipt()
{
    return receipt(
        {{u"铝型材"_qs, u"ZS-01"_qs, u"10"_qs, u"支"_qs, u"12.5"_qs, u"备用"_qs, u"125"_qs},
         {u"玻璃"_qs, u"5mm"_qs, u"3"_qs, u"块"_qs, u"80"_qs, u""_qs, u"240"_qs},
         {u"胶条"_qs, u"EPDM"_qs, u"200"_qs, u"米"_qs, u"1.2"_qs, u""_qs, u"240"_qs},
         {u"合计 ：605    "_qs}},
        false);
}

PrintedDocument requisition()
{
    PrintedDocument d;
    d.kind = DocumentKind::Requisition;
    d.number = QStringLiteral("00000003");
    d.date = QDate(2010, 3, 15);
    d.party = QStringLiteral("一号楼");
    d.maker = QStringLiteral("admin");
    d.auditor = QStringLiteral("张三");
    d.rows = {{u"铝型材"_qs, u"ZS-01"_qs, u"4"_qs, u"支"_qs, u"门框"_qs}};
    return d;
}

const QString kLongName =
    QStringLiteral("断桥隔热铝合金平开窗框型材（六十系列，氟碳喷涂，香槟金色，附带密封胶条）");

// A cell of the filled form by its form position.
QString formText(const PrintTable& t, int formRow, int formColumn)
{
    return t.text(formgrid::row(formRow), formgrid::column(formColumn));
}

PrintTable filled(const PrintedDocument& d)
{
    PrintTable t;
    if (!loadPrintTemplate(d.kind, kBuiltIn, t).done)
        qFatal("built-in template %s missing", qPrintable(printTemplateName(d.kind)));
    fillPrintForm(t, d);
    return t;
}

QString pdfText(const PrintTable& t)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("form.pdf"));
    QString error;
    if (!renderPrintTableToPdf(t, pdf, &error))
        return QStringLiteral("render failed: ") + error;
    if (qEnvironmentVariableIsSet("MORVANE_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("MORVANE_KEEP_PDF") + t.pageSettings().documentName +
                             QStringLiteral(".pdf"));
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestDocumentPrint : public QObject
{
    Q_OBJECT

private slots:
    void fillDumps_data()
    {
        QTest::addColumn<PrintedDocument>("document");
        QTest::newRow("receipt_three_lines") << storedReceipt();
        // Being added: every grid row is a line, the last one too.
        QTest::newRow("receipt_editing")
            << receipt({{u"铝型材"_qs, u"ZS-01"_qs, u"10"_qs, u"支"_qs, u"12.5"_qs},
                        {u"合计 ：也是一行"_qs, u"X"_qs, u"1"_qs}},
                       true);
        QTest::newRow("requisition_one_line") << requisition();
        QTest::newRow("receipt_long_name")
            << receipt({{kLongName, u"KC-60"_qs, u"2"_qs, u"支"_qs}, {u"合计 ：0    "_qs}}, false);
    }

    void fillDumps()
    {
        QFETCH(PrintedDocument, document);
        QVERIFY(matchesExpected(dumpPrintTable(filled(document)),
                                QStringLiteral("form_%1.txt").arg(QTest::currentDataTag())));
    }

    void receiptLinesPushTheFooterDown()
    {
        const PrintTable t = filled(storedReceipt());
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(formText(t, 3 + i, 0), QString::number(i));
            QCOMPARE(t.rowHeight(formgrid::row(3 + i)), formgrid::height(kLineRowPixels));
        }
        QCOMPARE(formText(t, 6, 6), u"240"_qs); // the line total goes to form column 6
        QCOMPARE(formText(t, 7, 2), u"合计 ：605    "_qs);
        QCOMPARE(formText(t, 8, 0), u"制单人：admin"_qs);
        QCOMPARE(formText(t, 2, 3), u"入库时间：2010年1月5日"_qs);
    }

    void receiptBeingEditedPrintsEveryLine()
    {
        const PrintTable t = filled(receipt({{u"甲"_qs}, {u"乙"_qs}}, true));
        QCOMPARE(formText(t, 4, 1), u"甲"_qs);
        QCOMPARE(formText(t, 5, 1), u"乙"_qs);
        QCOMPARE(formText(t, 5, 0), u"2"_qs);
        QCOMPARE(formText(t, 6, 2), QString()); // the totals cell stays empty
        QCOMPARE(formText(t, 7, 0), u"制单人：admin"_qs);
    }

    void requisitionFooterFollowsItsLine()
    {
        const PrintTable t = filled(requisition());
        QCOMPARE(formText(t, 4, 0), u"1"_qs);
        QCOMPARE(formText(t, 4, 5), u"门框"_qs);
        QCOMPARE(formText(t, 5, 0), u"制单人：admin"_qs);
        QCOMPARE(formText(t, 5, 3), u"审核：张三"_qs);
        QCOMPARE(formText(t, 5, 2), QString()); // no totals on a requisition
    }

    void templateLookup()
    {
        QTemporaryDir data, program;
        const QStringList dirs = printTemplateDirectories(data.path(), program.path());
        QCOMPARE(dirs.first(), QDir::cleanPath(data.path()));
        QCOMPARE(dirs.last(), u":/templates"_qs);

        // Nothing in the data directory or beside the program: the built-in form.
        PrintTable t;
        QVERIFY(loadPrintTemplate(DocumentKind::Receipt, dirs, t).done);
        QCOMPARE(t.text(1, 1), u"采购入库单"_qs);

        // The installed copy beside the program comes before the built-in one, the user's
        // own copy in the data directory before both.
        PrintTable own(1, 1);
        own.setText(1, 1, u"本厂领料单"_qs);
        QVERIFY(test::savePrintTableFile(own, program.filePath(u"ll.gjbg"_qs)));
        QVERIFY(loadPrintTemplate(DocumentKind::Requisition, dirs, t).done);
        QCOMPARE(t.text(1, 1), u"本厂领料单"_qs);
        own.setText(1, 1, u"用户的领料单"_qs);
        QVERIFY(test::savePrintTableFile(own, data.filePath(u"ll.gjbg"_qs)));
        QVERIFY(loadPrintTemplate(DocumentKind::Requisition, dirs, t).done);
        QCOMPARE(t.text(1, 1), u"用户的领料单"_qs);
    }

    void damagedTemplateIsReported()
    {
        QTemporaryDir data;
        const QString path = data.filePath(u"rk.gjbg"_qs);
        writeFile(path, "{\"format\": \"morvane-print-table\", \"rows\": ");
        const QStringList dirs = printTemplateDirectories(data.path(), QString());
        PrintTable table(1, 1);
        table.setText(1, 1, u"上一张单据"_qs);
        const DocumentOutcome o = buildPrintForm(storedReceipt(), dirs, table);
        QVERIFY(!o.done);
        QCOMPARE(o.message, u"找不到打印模板"_qs + QDir::toNativeSeparators(path));
        QCOMPARE(o.title, u"提示"_qs);
        QCOMPARE(table.text(1, 1), u"上一张单据"_qs); // nothing of the new form
        QCOMPARE(table.rowCount(), 1);

        // Unreadable (a directory by that name) is refused the same way.
        QFile::remove(path);
        QVERIFY(QDir(data.path()).mkdir(u"rk.gjbg"_qs));
        QVERIFY(!buildPrintForm(storedReceipt(), dirs, table).done);
    }

    void longTextsGrowTheirRow()
    {
        PrintTable t;
        PrintedDocument d =
            receipt({{kLongName, u"KC-60"_qs}, {u"玻璃"_qs, u"5mm"_qs}, {u"合计"_qs}}, false);
        QVERIFY(buildPrintForm(d, kBuiltIn, t).done);
        const int line = formgrid::height(kLineRowPixels);
        QVERIFY2(t.rowHeight(formgrid::row(4)) > 2 * line - 20,
                 qPrintable(QString::number(t.rowHeight(formgrid::row(4)))));
        QCOMPARE(t.rowHeight(formgrid::row(5)), line);

        // A long remark is not cut off at its cell's edge either.
        d = requisition();
        d.rows = {{u"铝型材"_qs, u"ZS-01"_qs, u"4"_qs, u"支"_qs, kLongName}};
        QVERIFY(buildPrintForm(d, kBuiltIn, t).done);
        QVERIFY2(t.rowHeight(formgrid::row(4)) > 2 * line - 20,
                 qPrintable(QString::number(t.rowHeight(formgrid::row(4)))));
    }

    void formsAsPdf()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils, scripts/bootstrap) is missing");
        PrintTable t;
        QVERIFY(buildPrintForm(storedReceipt(), kBuiltIn, t).done);
        QString text = pdfText(t);
        for (const QString& part :
             {u"采购入库单"_qs, u"入库单号：00000012"_qs, u"入库时间：2010年1月5日"_qs,
              u"供货单位：华东铝业"_qs, u"产品名称"_qs, u"规格型号"_qs, u"铝型材"_qs, u"ZS-01"_qs,
              u"EPDM"_qs, u"合计 ：605"_qs, u"制单人：admin"_qs})
            QVERIFY2(text.contains(part), qPrintable(part + u"\n"_qs + text));

        QVERIFY(buildPrintForm(requisition(), kBuiltIn, t).done);
        text = pdfText(t);
        for (const QString& part :
             {u"领料单"_qs, u"单号：00000003"_qs, u"时间：2010年3月15日"_qs, u"项目：一号楼"_qs,
              u"门框"_qs, u"制单人：admin"_qs, u"审核：张三"_qs})
            QVERIFY2(text.contains(part), qPrintable(part + u"\n"_qs + text));
    }
};

QTEST_MAIN(TestDocumentPrint)
#include "tst_documentprint.moc"
