// The document logic without widgets: numbering, totals, saving with its refusals and
// atomicity, stock check, replacement, deletion, audit and the browse cursor.

#include "db/builders.h"
#include "documents/documentcursor.h"
#include "documents/documentload.h"
#include "documents/documentnumber.h"
#include "documents/documentsave.h"
#include "documents/quantity.h"
#include "documents/receipttotals.h"
#include "documents/stockcheck.h"
#include "stock/stockbalance.h"
#include "support/tempdatastore.h"

#include <QtTest>

using namespace mv;
using mv::test::TempDataStore;

Q_DECLARE_METATYPE(mv::Document)

namespace {

const QDate kDay(2010, 1, 5);

Document receipt(const QString& number, const QList<QStringList>& lines)
{
    Document d;
    d.kind = DocumentKind::Receipt;
    d.header = {number, kDay, u"华东铝业"_qs, u"铝材"_qs, u"admin"_qs};
    for (const QStringList& cells : lines)
        d.lines.append({cells});
    return d;
}

Document requisition(const QString& number, const QList<QStringList>& lines)
{
    Document d = receipt(number, lines);
    d.kind = DocumentKind::Requisition;
    d.header.party = u"一号楼"_qs;
    return d;
}

// Every stored row of the three document tables, as text.
QString dump(Connection& connection)
{
    QString text;
    const QList<std::pair<QString, int>> tables{
        {u"yclnote"_qs, 12}, {u"ycldate"_qs, 3}, {u"[date]"_qs, 2}};
    for (const auto& [table, columns] : tables) {
        auto rows = connection.query(u"SELECT * FROM "_qs + table + u" ORDER BY rowid"_qs);
        for (; rows && !rows->eof(); rows->next()) {
            QStringList fields;
            for (int c = 0; c < columns; ++c)
                fields.append(rows->field(c));
            text += table + u": "_qs + fields.join(u'|') + u'\n';
        }
    }
    return text;
}

int count(Connection& connection, const QString& sql)
{
    auto rows = connection.query(sql);
    return rows ? rows->value(0).toInt() : -1;
}

void stockIn(TempDataStore& store, const QString& model, const QString& quantity)
{
    store.addLine(u"角铝"_qs, model, u"入库"_qs, quantity, u"2010-01-01"_qs, u"铝材"_qs, u"支"_qs,
                  u"00000099"_qs);
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT
private slots:
    void numbering_data();
    void numbering();
    void totals();
    void quantityRule_data();
    void quantityRule();
    void partCountedLines();
    void blankRowsAreLeftOut();
    void receiptCorrectionsKeepTheStock();
    void receiptRoundTripKeepsValuesAsTyped();
    void receiptRefusals_data();
    void receiptRefusals();
    void requisitionRefusals_data();
    void requisitionRefusals();
    void stockCheck();
    void projectListGetsOneRowPerProject();
    void replacement();
    void failingInsertChangesNothing();
    void deletion();
    void changedByAnotherClerk();
    void audit();
    void auditRace();
    void cursor();
    void nestedTransactions();
    void secondCopyHoldingTheDatabase();
    void refusedWrites();
};

void TestDocuments::numbering_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty database") << QString() << u"00000001"_qs;
    QTest::newRow("ordinary") << u"00000041"_qs << u"00000042"_qs;
    QTest::newRow("nine digits") << u"99999999"_qs << u"100000000"_qs;
    QTest::newRow("leading digits only") << u"12abc"_qs << u"00000013"_qs;
}

void TestDocuments::numbering()
{
    QFETCH(QString, shown);
    QTEST(nextDocumentNumber(shown), "next");

    // A number typed into the number box: as stored, or short for its 8-digit form.
    const QStringList stored{u"00000005"_qs, u"7"_qs, u"123456789"_qs};
    QCOMPARE(typedDocumentNumber(u"5"_qs, stored), u"00000005"_qs);
    QCOMPARE(typedDocumentNumber(u"7"_qs, stored), u"7"_qs);
    QCOMPARE(typedDocumentNumber(u"123456789"_qs, stored), u"123456789"_qs);
    QCOMPARE(typedDocumentNumber(u"6"_qs, stored), QString());
    QCOMPARE(typedDocumentNumber(u"x5"_qs, stored), QString());

    // A new document's number follows the highest stored number by value; numbers typed with
    // letters take no part, wherever they sort.
    QCOMPARE(nextFreeDocumentNumber({}), u"00000001"_qs);
    QCOMPARE(nextFreeDocumentNumber({u"00000103"_qs, u"HL-25"_qs, u"2026-001"_qs}), u"00000104"_qs);
    QCOMPARE(nextFreeDocumentNumber({u"100000000"_qs, u"99999999"_qs}), u"100000001"_qs);
    QCOMPARE(nextFreeDocumentNumber({u"A1"_qs, u"0"_qs}), u"00000001"_qs);
    QCOMPARE(nextFreeDocumentNumber({u"0099999999999"_qs}), u"100000000000"_qs);
}

void TestDocuments::totals()
{
    // A price with decimals: every amount with two, the total adding the unrounded products.
    const ReceiptTotals t = receiptTotals(
        {{{u"a"_qs, {}, u"2"_qs, {}, u"1.5"_qs}}, {{u"b"_qs, {}, u"3"_qs, {}, u"0.3333"_qs}}});
    QCOMPARE(t.lineTotals, (QStringList{u"3.00"_qs, u"1.00"_qs}));
    QCOMPARE(t.text, u"合计 ：4.00    "_qs);
    QCOMPARE(receiptTotals({{{u"a"_qs, {}, u"1"_qs, {}, u"123456.78"_qs}}}).text,
             u"合计 ：123456.78    "_qs);
    QCOMPARE(receiptTotals({{{u"a"_qs, {}, u"３"_qs, {}, u"0.1"_qs}},
                            {{u"a"_qs, {}, u"1"_qs, {}, u"9999999.7"_qs}}})
                 .text,
             u"合计 ：10000000.00    "_qs);
    // Whole prices: no decimals added, and never an exponent.
    QCOMPARE(receiptTotals({}).text, u"合计 ：0    "_qs);
    QCOMPARE(receiptTotals({{{u"a"_qs, {}, u"1234567"_qs, {}, u"1"_qs}}}).text,
             u"合计 ：1234567    "_qs);
    const ReceiptTotals whole = receiptTotals(
        {{{u"a"_qs, {}, u"2.5"_qs, {}, u"3"_qs}}, {{u"a"_qs, {}, u"many"_qs, {}, u"2"_qs}}});
    QCOMPARE(whole.lineTotals, (QStringList{u"7.5"_qs, u"0"_qs}));
    QCOMPARE(whole.text, u"合计 ：7.5    "_qs);
}

void TestDocuments::quantityRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::addColumn<QString>("refusal");
    const QString noNumber = u"第 3 行的数量必须是大于 0 的数字"_qs;
    QTest::newRow("whole") << u"12"_qs << u"12"_qs << QString();
    QTest::newRow("decimal") << u"2.5"_qs << u"2.5"_qs << QString();
    QTest::newRow("full-width digits and blanks") << u" １２．５　"_qs << u"12.5"_qs << QString();
    QTest::newRow("largest") << u"02147483647.9"_qs << u"02147483647.9"_qs << QString();
    QTest::newRow("too large") << u"2147483648"_qs << QString()
                               << u"第 3 行的数量太大，最多 2147483647"_qs;
    for (const char* refused : {"1e3", "-5", "0", "0.00", "5件", "", ".5", "5.", "1,000", "+5"})
        QTest::newRow(refused) << QString::fromUtf8(refused) << QString() << noNumber;
}

// Only fractions the stock drops are named, each by its grid row; whole decimals ("3.00") and
// quantities that are refused anyway are not.
void TestDocuments::partCountedLines()
{
    const auto line = [](const QString& quantity, int row) {
        return DocumentLine{{u"a"_qs, {}, quantity}, row};
    };
    const QList<DocumentLine> lines{line(u"3.00"_qs, 2), line(u"0.5"_qs, 3), line(u"x.5"_qs, 4),
                                    line(u"12.05"_qs, 6)};
    QCOMPARE(partCountedQuestion(lines),
             u"库存只按整数计算：第 3 行的数量 0.5 计为 0，第 6 行的数量 12.05 计为 12。"
             u"\n要这样保存吗？选“否”可以改正数量。"_qs);
    QCOMPARE(partCountedQuestion(lines.first(1)), QString());
}

void TestDocuments::quantityRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, refusal);
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"100"_qs);
    Connection& c = store.connection();
    const QString before = dump(c);
    // The refused quantity stands on grid row 3, after a good line and a blank row.
    const QStringList good{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs};
    QList<DocumentLine> lines{{good, 1}, {{}, 2}, {{u"角铝"_qs, u"A1"_qs, typed, u"支"_qs}, 3}};
    for (const DocumentKind kind : {DocumentKind::Receipt, DocumentKind::Requisition}) {
        Document d = kind == DocumentKind::Receipt ? receipt(u"00000001"_qs, {})
                                                   : requisition(u"00000001"_qs, {});
        d.lines = lines;
        const DocumentOutcome o = saveDocument(c, d);
        if (stored.isEmpty()) {
            if (kind == DocumentKind::Receipt && typed.isEmpty()) {
                QCOMPARE(o.message, u"表单中重要参数不能为空"_qs);
                continue;
            }
            QCOMPARE(o.message, refusal);
            QCOMPARE(o.title, u"错误"_qs);
            QCOMPARE(int(o.focus), int(DocumentField::Quantity));
            QCOMPARE(o.row, 3);
            QCOMPARE(dump(c), before);
            continue;
        }
        QVERIFY2(o.done, qPrintable(o.message));
        const auto loaded = loadDocument(c, kind, u"00000001"_qs);
        QCOMPARE(loaded->lines.size(), 2); // the blank row is not stored
        QCOMPARE(loaded->lines.at(1).cell(LineQuantity), stored);
    }
    if (!stored.isEmpty()) // 100 in, 1 + n out again: the stock reads the stored quantity
        QCOMPARE(StockBalance(c, u"角铝"_qs, u"A1"_qs), 100);
}

void TestDocuments::blankRowsAreLeftOut()
{
    TempDataStore store;
    Connection& c = store.connection();
    const QStringList good{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs};
    // Only blank rows: nothing to store, as with no row at all.
    DocumentOutcome o =
        saveDocument(c, receipt(u"00000001"_qs, {{}, {u" "_qs, {}, {}, {}, {}, {}}}));
    QCOMPARE(o.message, u"表单中重要参数不能为空"_qs);
    o = saveDocument(c, requisition(u"00000001"_qs, {{}}));
    QCOMPARE(o.message, u"表单中没有数据，无法保存！"_qs);
    QCOMPARE(dump(c), QString());
    QVERIFY(saveDocument(c, receipt(u"00000001"_qs, {{}, good, {}, good, {}})).done);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM yclnote WHERE 原材料名字='角铝'"_qs), 2);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM yclnote"_qs), 2);
}

void TestDocuments::receiptCorrectionsKeepTheStock()
{
    TempDataStore store;
    Connection& c = store.connection();
    const auto line = [](const QString& model, const QString& quantity) {
        return QStringList{u"角铝"_qs, model, quantity, u"支"_qs};
    };
    QVERIFY(saveDocument(c, receipt(u"00000001"_qs, {line(u"A1"_qs, u"10"_qs)})).done);
    QVERIFY(saveDocument(c, receipt(u"00000002"_qs, {line(u"B2"_qs, u"3"_qs)})).done);
    QVERIFY(saveDocument(c, requisition(u"00000001"_qs, {line(u"a1"_qs, u"8"_qs)})).done);
    const QString before = dump(c);
    const QString deletion = u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有2支 无法删除！"_qs;
    const QString modification =
        u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有2支 无法修改！"_qs;

    DocumentOutcome o = deleteDocument(c, DocumentKind::Receipt, u"00000001"_qs);
    QCOMPARE(o.message, deletion);
    QCOMPARE(o.title, u"错误"_qs);
    // Fewer than were issued, or the goods booked on another item.
    QCOMPARE(
        saveDocument(c, receipt(u"00000001"_qs, {line(u"A1"_qs, u"7"_qs)}), u"00000001"_qs).message,
        modification);
    QCOMPARE(saveDocument(c, receipt(u"00000001"_qs, {line(u"B2"_qs, u"10"_qs)}), u"00000001"_qs)
                 .message,
             modification);
    QCOMPARE(dump(c), before);

    // Down to what was issued, and the deletion of a receipt whose goods are all in stock.
    QVERIFY(
        saveDocument(c, receipt(u"00000001"_qs, {line(u"A1"_qs, u"8"_qs)}), u"00000001"_qs).done);
    QCOMPARE(StockBalance(c, u"角铝"_qs, u"A1"_qs), 0);
    QVERIFY(deleteDocument(c, DocumentKind::Receipt, u"00000002"_qs).done);
    QCOMPARE(StockBalance(c, u"角铝"_qs, u"B2"_qs), 0);
}

void TestDocuments::receiptRoundTripKeepsValuesAsTyped()
{
    TempDataStore store;
    Document d = receipt(u"00000001"_qs,
                         {{u"角铝"_qs, u"A'1"_qs, u"2"_qs, u"支"_qs, u"1.5"_qs, u"it's a=b, c"_qs},
                          {u"玻璃"_qs, u"5mm"_qs, u"3"_qs, u"块"_qs, {}, {}}});
    d.header.party = u"O'Neil, 铝=业"_qs;
    QVERIFY(saveDocument(store.connection(), d).done);

    const auto loaded = loadDocument(store.connection(), DocumentKind::Receipt, u"00000001"_qs);
    QVERIFY(loaded);
    QCOMPARE(loaded->lines.size(), 2);
    QCOMPARE(loaded->lines.at(0).cells, d.lines.at(0).cells);
    QCOMPARE(loaded->lines.at(1).cells, d.lines.at(1).cells);
    QCOMPARE(loaded->header.party, d.header.party);
    QCOMPARE(loaded->header.date, kDay);
    QCOMPARE(documentNumbers(store.connection(), DocumentKind::Receipt),
             QStringList{u"00000001"_qs});
    // The same number is free for a requisition and stays taken for receipts.
    QCOMPARE(documentNumbers(store.connection(), DocumentKind::Requisition), QStringList());
    QCOMPARE(nextFreeNumber(store.connection(), DocumentKind::Receipt), u"00000002"_qs);
    QCOMPARE(nextFreeNumber(store.connection(), DocumentKind::Requisition), u"00000001"_qs);
    QCOMPARE(saveDocument(store.connection(), d).message, u"单据号重复，无法录入系统！"_qs);
}

void TestDocuments::receiptRefusals_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("focus");
    const QStringList good{u"角铝"_qs, u"A1"_qs, u"2"_qs, u"支"_qs, u"1"_qs, {}};
    const QString error = u"错误"_qs;
    Document d = receipt({}, {good});
    QTest::newRow("number") << d << u"单据号不能为空"_qs << error << int(DocumentField::Number);
    d = receipt(u"00000002"_qs, {good});
    d.header.party.clear();
    QTest::newRow("supplier") << d << u"供应单位 不能为空"_qs << error << int(DocumentField::Party);
    d.header.party = u"x"_qs;
    d.header.category.clear();
    d.header.maker.clear();
    QTest::newRow("category") << d << u"库存分类 不能为空"_qs << error
                              << int(DocumentField::Category);
    d.header.category = u"x"_qs;
    QTest::newRow("maker") << d << u"制单人 不能为空"_qs << error << int(DocumentField::Maker);
    QTest::newRow("duplicate") << receipt(u"00000001"_qs, {good})
                               << u"单据号重复，无法录入系统！"_qs << error
                               << int(DocumentField::None);
    QStringList noQuantity = good;
    noQuantity[LineQuantity].clear();
    QTest::newRow("second line without quantity")
        << receipt(u"00000002"_qs, {good, noQuantity}) << u"表单中重要参数不能为空"_qs
        << u"添加失败"_qs << int(DocumentField::Quantity);
    QStringList noName = good;
    noName[LineName].clear();
    QTest::newRow("line without name")
        << receipt(u"00000002"_qs, {noName}) << u"表单中重要参数不能为空"_qs << u"添加失败"_qs
        << int(DocumentField::LineName);
    QTest::newRow("no lines") << receipt(u"00000002"_qs, {}) << u"表单中重要参数不能为空"_qs
                              << u"添加失败"_qs << int(DocumentField::None);
}

void TestDocuments::receiptRefusals()
{
    QFETCH(Document, document);
    TempDataStore store;
    QVERIFY(saveDocument(store.connection(),
                         receipt(u"00000001"_qs, {{u"x"_qs, {}, u"1"_qs, u"支"_qs}}))
                .done);
    const QString before = dump(store.connection());
    const DocumentOutcome outcome = saveDocument(store.connection(), document);
    QVERIFY(!outcome.done);
    QTEST(outcome.message, "message");
    QTEST(outcome.title, "title");
    QTEST(int(outcome.focus), "focus");
    QCOMPARE(dump(store.connection()), before);
}

void TestDocuments::requisitionRefusals_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const QStringList line{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs, {}};
    QTest::newRow("empty number") << requisition({}, {line}) << u"单据号不能为空"_qs
                                  << int(DocumentField::Number);
    Document d = requisition(u"00000001"_qs, {line});
    d.header.party.clear();
    QTest::newRow("duplicate before the header tests")
        << d << u"单据号重复，无法录入系统！"_qs << int(DocumentField::Number);
    d.header.number = u"00000002"_qs;
    QTest::newRow("project") << d << u"所用项目不能为空"_qs << int(DocumentField::Party);
    d.header.party = u"p"_qs;
    d.header.category.clear();
    QTest::newRow("category") << d << u"库存分类不能为空"_qs << int(DocumentField::Category);
    d.header.category = u"c"_qs;
    d.header.maker.clear();
    QTest::newRow("maker") << d << u"制单人不能为空"_qs << int(DocumentField::Maker);
}

void TestDocuments::requisitionRefusals()
{
    QFETCH(Document, document);
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    QVERIFY(saveDocument(store.connection(),
                         requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"1"_qs}}))
                .done);
    const QString before = dump(store.connection());
    const DocumentOutcome outcome = saveDocument(store.connection(), document);
    QTEST(outcome.message, "message");
    QCOMPARE(outcome.title, u"错误"_qs);
    QTEST(int(outcome.focus), "focus");
    QCOMPARE(dump(store.connection()), before);
}

void TestDocuments::stockCheck()
{
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    stockIn(store, u"B2"_qs, u"2"_qs);
    Connection& c = store.connection();
    const QString shortOf10 = u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有10支 无法领出！"_qs;

    DocumentOutcome o =
        saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"11"_qs, u"支"_qs}}));
    QCOMPARE(o.message, shortOf10);
    QCOMPARE(o.title, u"错误"_qs);
    // Two lines of the same item are added up, letter case ignored; the message names the
    // line at which the item runs short.
    o = saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"6"_qs, u"支"_qs},
                                                     {u"角铝"_qs, u"a1"_qs, u"6"_qs, u"根"_qs}}));
    QCOMPARE(o.message, u"产品名称：角铝\r\n产品型号：a1\r\n库中不够 只有10根 无法领出！"_qs);
    // The quantity of that line is the field to correct.
    QCOMPARE(o.focus, DocumentField::Quantity);
    QCOMPARE(o.row, 2);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM yclnote"_qs), 2);

    // Exactly the stock, and 2.9 of a stock of 2 (counts 2), are issued; the text is kept.
    QVERIFY(
        saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"10"_qs, u"支"_qs},
                                                     {u"角铝"_qs, u"B2"_qs, u"2.9"_qs, u"支"_qs}}))
            .done);
    QCOMPARE(loadDocument(c, DocumentKind::Requisition, u"00000001"_qs)->lines.at(1).cell(2),
             u"2.9"_qs);
    QCOMPARE(
        saveDocument(c, requisition(u"00000002"_qs, {{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}}))
            .message,
        u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有0支 无法领出！"_qs);
}

void TestDocuments::projectListGetsOneRowPerProject()
{
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    Connection& c = store.connection();
    const QList<QStringList> line{{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}};
    QVERIFY(saveDocument(c, requisition(u"00000001"_qs, line)).done);
    QVERIFY(saveDocument(c, requisition(u"00000002"_qs, line)).done);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM [date] WHERE x='一号楼' AND y='出库项目'"_qs), 1);
    QCOMPARE(loadDropDownLists(c, DocumentKind::Requisition)->parties, QStringList{u"一号楼"_qs});
    QCOMPARE(loadDropDownLists(c, DocumentKind::Receipt)->parties, QStringList{QString()});
}

void TestDocuments::replacement()
{
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    Connection& c = store.connection();
    QVERIFY(
        saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"10"_qs, u"支"_qs}}))
            .done);
    QVERIFY(auditRequisition(c, {u"00000001"_qs, {}, false, u"admin"_qs, true}).done);
    // Its own old lines and number do not count against the new version.
    QVERIFY(saveDocument(c,
                         requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"4"_qs, u"支"_qs},
                                                      {u"角铝"_qs, u"A1"_qs, u"6"_qs, u"支"_qs}}),
                         u"00000001"_qs)
                .done);
    const auto loaded = loadDocument(c, DocumentKind::Requisition, u"00000001"_qs);
    QCOMPARE(loaded->lines.size(), 2);
    QCOMPARE(loaded->auditor, QString()); // the new header carries no auditor

    // A refused new version leaves the stored one exactly as it was.
    const QString before = dump(c);
    const DocumentOutcome refused =
        saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"11"_qs, u"支"_qs}}),
                     u"00000001"_qs);
    QVERIFY(refused.message.contains(u"库中不够 只有10支"_qs));
    QCOMPARE(dump(c), before);
}

void TestDocuments::failingInsertChangesNothing()
{
    TempDataStore store;
    Connection& c = store.connection();
    QVERIFY(
        saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}})).done);
    if (store.onServer()) {
        store.exec(u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "IF NEW.备注 = 'boom' THEN RAISE EXCEPTION 'refused by the test'; END IF; "
                   "RETURN NEW; END $$"_qs);
        store.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON yclnote FOR EACH ROW "
                   "EXECUTE FUNCTION refuse()"_qs);
    } else {
        store.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON yclnote WHEN NEW.备注 = 'boom' "
                   "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"_qs);
    }
    const QString before = dump(c);
    const QList<QStringList> lines{{u"玻璃"_qs, u"5mm"_qs, u"1"_qs, u"块"_qs, {}, {}},
                                   {u"玻璃"_qs, u"6mm"_qs, u"1"_qs, u"块"_qs, {}, u"boom"_qs}};
    DocumentOutcome o = saveDocument(c, receipt(u"00000002"_qs, lines));
    QVERIFY(!o.done);
    QVERIFY2(o.message.contains(u"refused by the test"_qs), qPrintable(o.message));
    QCOMPARE(o.title, u"错误"_qs);
    QCOMPARE(dump(c), before);
    o = saveDocument(c, receipt(u"00000001"_qs, lines), u"00000001"_qs);
    QVERIFY(!o.done);
    QCOMPARE(dump(c), before);
}

void TestDocuments::deletion()
{
    TempDataStore store;
    Connection& c = store.connection();
    QVERIFY(
        saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}})).done);
    QVERIFY(!deleteDocument(c, DocumentKind::Receipt, {}).done);
    QVERIFY(!deleteDocument(c, DocumentKind::Receipt, u"00000002"_qs).done);
    QVERIFY(!deleteDocument(c, DocumentKind::Requisition, u"00000001"_qs).done);
    const DocumentOutcome o = deleteDocument(c, DocumentKind::Receipt, u"00000001"_qs);
    QCOMPARE(o.message, u"单据号：00000001删除成功！"_qs);
    QCOMPARE(o.title, u"提示"_qs);
    QCOMPARE(dump(c), QString());
    // A modification saved after another clerk deleted the document does not bring it back.
    const DocumentOutcome late = saveDocument(
        c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"7"_qs, u"支"_qs}}), u"00000001"_qs);
    QVERIFY(!late.done);
    QVERIFY2(late.message.contains(u"已被其他用户删除"_qs), qPrintable(late.message));
    QCOMPARE(dump(c), QString());
}

void TestDocuments::changedByAnotherClerk()
{
    TempDataStore store;
    Connection& c = store.connection();
    QVERIFY(
        saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}})).done);
    // Two clerks are shown the receipt; the second saves his change first.
    const QString shown = storedDocumentVersion(c, DocumentKind::Receipt, u"00000001"_qs);
    QVERIFY(!shown.isEmpty());
    QVERIFY(saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"7"_qs, u"支"_qs}}),
                         u"00000001"_qs, shown)
                .done);
    const QString winner = dump(c);
    // The first clerk's change and his deletion are refused; the winner's version stays whole.
    const DocumentOutcome late =
        saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"9"_qs, u"支"_qs}}),
                     u"00000001"_qs, shown);
    QVERIFY(!late.done);
    QVERIFY2(late.message.contains(u"已被其他用户修改"_qs), qPrintable(late.message));
    QVERIFY(!deleteDocument(c, DocumentKind::Receipt, u"00000001"_qs, shown).done);
    QCOMPARE(dump(c), winner);
    // Shown the stored version again, he can.
    QVERIFY(deleteDocument(c, DocumentKind::Receipt, u"00000001"_qs,
                           storedDocumentVersion(c, DocumentKind::Receipt, u"00000001"_qs))
                .done);
}

void TestDocuments::audit()
{
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    Connection& c = store.connection();
    QVERIFY(saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"1"_qs}})).done);
    const QString unsaved = u"单子还没有保存，无法审核！"_qs;
    QCOMPARE(auditRequisition(c, {u"00000001"_qs, u"李四"_qs, false, u"张三"_qs, false}).message,
             u"当前用户没有权限审核，请让系统管理员添加权限！"_qs);
    QCOMPARE(auditRequisition(c, {u"00000001"_qs, u"李四"_qs, false, u"张三"_qs, true}).message,
             u"该单已经审核！"_qs);
    QCOMPARE(auditRequisition(c, {u"00000001"_qs, {}, true, u"张三"_qs, true}).message, unsaved);
    QCOMPARE(auditRequisition(c, {u"00000002"_qs, {}, false, u"张三"_qs, true}).message, unsaved);
    QCOMPARE(auditRequisition(c, {{}, {}, false, u"张三"_qs, true}).message, unsaved);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM ycldate WHERE 审核 <> ''"_qs), 0);
    QVERIFY(auditRequisition(c, {u"00000001"_qs, {}, false, u"O'张三"_qs, true}).done);
    QCOMPARE(loadDocument(c, DocumentKind::Requisition, u"00000001"_qs)->auditor, u"O'张三"_qs);

    // Shown to a clerk and then changed by another, it is not audited in the version shown.
    const QString shown = storedDocumentVersion(c, DocumentKind::Requisition, u"00000001"_qs);
    QVERIFY(saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"2"_qs}}),
                         u"00000001"_qs, shown)
                .done);
    QCOMPARE(auditRequisition(c, {u"00000001"_qs, {}, false, u"张三"_qs, true, shown}).message,
             u"单据号：00000001已被其他用户修改，审核没有保存！请重新打开该单据后再审核。"_qs);
    QCOMPARE(storedAuditor(c, u"00000001"_qs), QString());
}

void TestDocuments::auditRace()
{
    // Two clerks are shown the requisition unaudited and press 审核 on their own connections:
    // one name is stored, the other clerk is told it is audited.
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    QVERIFY(saveDocument(store.connection(),
                         requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"1"_qs}}))
                .done);
    Connection other;
    QVERIFY(other.openUrl(store.url()));
    QVERIFY(
        auditRequisition(store.connection(), {u"00000001"_qs, {}, false, u"张三"_qs, true}).done);
    const DocumentOutcome late =
        auditRequisition(other, {u"00000001"_qs, {}, false, u"李四"_qs, true});
    QVERIFY(!late.done);
    QCOMPARE(late.message, u"该单已经审核！"_qs);
    QCOMPARE(storedAuditor(store.connection(), u"00000001"_qs), u"张三"_qs);
}

void TestDocuments::cursor()
{
    DocumentCursor cursor;
    cursor.reset({});
    QCOMPARE(cursor.current(), QString());
    cursor.reset({u"1"_qs, u"2"_qs});
    QCOMPARE(cursor.current(), u"2"_qs);
    cursor.next();
    cursor.next();
    QCOMPARE(cursor.current(), QString()); // past the end, however often
    cursor.previous();
    QCOMPARE(cursor.current(), u"2"_qs);
    cursor.previous();
    cursor.previous();
    cursor.previous();
    QCOMPARE(cursor.current(), QString());
    cursor.next();
    QCOMPARE(cursor.current(), u"1"_qs);
    QVERIFY(cursor.moveTo(u"2"_qs));
    QVERIFY(!cursor.moveTo(u"3"_qs));
    QCOMPARE(cursor.current(), u"2"_qs);
}

void TestDocuments::nestedTransactions()
{
    TempDataStore store;
    Connection& c = store.connection();
    {
        Transaction outer(c);
        {
            Transaction inner(c);
            QVERIFY(c.execute(u"INSERT INTO ycldate (单号) VALUES ('1')"_qs));
            QVERIFY(inner.commit());
        }
        // The outer unit is still open: it decides.
    }
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM ycldate"_qs), 0);
    {
        Transaction outer(c);
        {
            Transaction inner(c); // ends without commit
            QVERIFY(c.execute(u"INSERT INTO ycldate (单号) VALUES ('1')"_qs));
        }
        QVERIFY(!outer.commit());
    }
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM ycldate"_qs), 0);
    {
        Transaction outer(c);
        Transaction inner(c);
        QVERIFY(c.execute(u"INSERT INTO ycldate (单号) VALUES ('1')"_qs));
        QVERIFY(inner.commit());
        QVERIFY(outer.commit());
    }
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM ycldate"_qs), 1);
}

void TestDocuments::secondCopyHoldingTheDatabase()
{
    TempDataStore store;
    if (store.onServer())
        QSKIP("one writer at a time is SQLite's rule; the server's clerks save side by side");
    // A writer is refused at the start, a reader (a long list being read) at the commit;
    // each past the busy timeout (shortened here).
    QVERIFY(store.connection().execute(u"PRAGMA busy_timeout = 100"_qs));
    for (const bool writer : {true, false}) {
        Connection other;
        QVERIFY(other.openSqlite(store.databasePath()));
        QVERIFY(writer ? other.begin()
                       : other.execute(u"BEGIN"_qs) && other.query(u"SELECT * FROM user"_qs));
        const DocumentOutcome o =
            saveDocument(store.connection(),
                         receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}}));
        QCOMPARE(o.message, u"数据库正被另一个程序使用，保存单据没有完成，请稍后再试。"_qs);
        QVERIFY(other.rollback());
        QCOMPARE(count(store.connection(), u"SELECT COUNT(*) FROM yclnote"_qs), 0);
    }
}

void TestDocuments::refusedWrites()
{
    TempDataStore store;
    if (store.onServer())
        QSKIP("the full disk is SQLite's page limit");
    Connection& c = store.connection();
    // Not one page more than the file has: the lines find no room, as on a full disk.
    QVERIFY(c.execute(u"PRAGMA max_page_count = "_qs +
                      QString::number(count(c, u"PRAGMA page_count"_qs))));
    const DocumentOutcome o = saveDocument(
        c, receipt(u"00000001"_qs,
                   QList<QStringList>(200, {u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs})));
    QCOMPARE(o.message, u"数据所在的磁盘已满，保存单据没有完成，数据库中没有保存任何改动。"
                        "请清理出磁盘空间后再试。"_qs);
    QCOMPARE(count(c, u"SELECT COUNT(*) FROM yclnote"_qs), 0);

    // A file that takes no writes, as one without write permission, and one moved away
    // while open (SQLite's extended code of a read-only database).
    QVERIFY(c.execute(u"PRAGMA query_only = 1"_qs));
    for (const bool moved : {false, true}) {
        if (moved) {
            QVERIFY(c.execute(u"PRAGMA query_only = 0"_qs));
            QVERIFY(QFile::rename(store.databasePath(), store.databasePath() + u".moved"_qs));
        }
        const DocumentOutcome refused =
            saveDocument(c, receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}}));
        QCOMPARE(refused.message, u"数据库是只读的，保存单据没有完成，数据库中没有保存任何改动。"
                                  "请检查数据文件及其目录的写入权限。"_qs);
    }
}

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
