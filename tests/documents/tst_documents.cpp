// The document logic without widgets: numbering, totals, saving with its refusals and
// atomicity, stock check, replacement, deletion, audit and the browse cursor.

#include "data/builders.h"
#include "documents/documentcursor.h"
#include "documents/documentload.h"
#include "documents/documentnumber.h"
#include "documents/documentsave.h"
#include "documents/receipttotals.h"
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
    void cursor();
    void nestedTransactions();
    void secondCopyHoldingTheDatabase();
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
}

void TestDocuments::totals()
{
    const ReceiptTotals t = receiptTotals(
        {{{u"a"_qs, {}, u"2"_qs, {}, u"1.5"_qs}}, {{u"b"_qs, {}, u"3"_qs, {}, u"0.3333"_qs}}});
    QCOMPARE(t.lineTotals, (QStringList{u"3"_qs, u"1"_qs}));
    QCOMPARE(t.text, u"合计 ：3.9999    "_qs);
    QCOMPARE(receiptTotals({}).text, u"合计 ：0    "_qs);
    QCOMPARE(receiptTotals({{{u"a"_qs, {}, u"1234567"_qs, {}, u"1"_qs}}}).text,
             u"合计 ：1.23457e+06    "_qs);
    QCOMPARE(receiptTotals({{{u"a"_qs, {}, u"many"_qs, {}, u"2"_qs}}}).lineTotals,
             QStringList{u"0"_qs});
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
    QCOMPARE(saveDocument(store.connection(), d).message, u"单据号重复，无法录入系统！"_qs);
}

void TestDocuments::receiptRefusals_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    const QStringList good{u"角铝"_qs, u"A1"_qs, u"2"_qs, u"支"_qs, u"1"_qs, {}};
    const QString error = u"错误"_qs;
    Document d = receipt({}, {good});
    QTest::newRow("number") << d << u"单据号不能为空"_qs << error << u"编辑框_单号入库"_qs;
    d = receipt(u"00000002"_qs, {good});
    d.header.party.clear();
    QTest::newRow("supplier") << d << u"供应单位 不能为空"_qs << error << u"编辑框_单位入库"_qs;
    d.header.party = u"x"_qs;
    d.header.category.clear();
    d.header.maker.clear();
    QTest::newRow("category") << d << u"库存分类 不能为空"_qs << error << u"组合框_分类"_qs;
    d.header.category = u"x"_qs;
    QTest::newRow("maker") << d << u"制单人 不能为空"_qs << error << u"编辑框_制单人_入库"_qs;
    QTest::newRow("duplicate") << receipt(u"00000001"_qs, {good})
                               << u"单据号重复，无法录入系统！"_qs << error << QString();
    QStringList noQuantity = good;
    noQuantity[LineQuantity].clear();
    QTest::newRow("second line without quantity")
        << receipt(u"00000002"_qs, {good, noQuantity}) << u"表单中重要参数不能为空"_qs
        << u"添加失败"_qs << QString();
    QTest::newRow("no lines") << receipt(u"00000002"_qs, {}) << u"表单中重要参数不能为空"_qs
                              << u"添加失败"_qs << QString();
}

void TestDocuments::receiptRefusals()
{
    QFETCH(Document, document);
    TempDataStore store;
    QVERIFY(saveDocument(store.connection(),
                         receipt(u"00000001"_qs, {{u"x"_qs, {}, u"1"_qs, u"支"_qs}}))
                .done);
    const QString before = dump(store.connection());
    const Outcome outcome = saveDocument(store.connection(), document);
    QVERIFY(!outcome.done);
    QTEST(outcome.message, "message");
    QTEST(outcome.title, "title");
    QTEST(outcome.focus, "focus");
    QCOMPARE(dump(store.connection()), before);
}

void TestDocuments::requisitionRefusals_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList line{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs, {}};
    QTest::newRow("empty number") << requisition({}, {line}) << u"单据号不能为空"_qs
                                  << u"编辑框_单号出库"_qs;
    Document d = requisition(u"00000001"_qs, {line});
    d.header.party.clear();
    QTest::newRow("duplicate before the header tests")
        << d << u"单据号重复，无法录入系统！"_qs << u"编辑框_单号出库"_qs;
    d.header.number = u"00000002"_qs;
    QTest::newRow("project") << d << u"所用项目不能为空"_qs << u"编辑框_出库_项目"_qs;
    d.header.party = u"p"_qs;
    d.header.category.clear();
    QTest::newRow("category") << d << u"库存分类不能为空"_qs << u"组合框_出库分类"_qs;
    d.header.category = u"c"_qs;
    d.header.maker.clear();
    QTest::newRow("maker") << d << u"制单人不能为空"_qs << u"编辑框_制单人_出库"_qs;
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
    const Outcome outcome = saveDocument(store.connection(), document);
    QTEST(outcome.message, "message");
    QCOMPARE(outcome.title, u"错误"_qs);
    QTEST(outcome.focus, "focus");
    QCOMPARE(dump(store.connection()), before);
}

void TestDocuments::stockCheck()
{
    TempDataStore store;
    stockIn(store, u"A1"_qs, u"10"_qs);
    stockIn(store, u"B2"_qs, u"2"_qs);
    Connection& c = store.connection();
    const QString shortOf10 = u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有10支 无法领出！"_qs;

    Outcome o =
        saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"11"_qs, u"支"_qs}}));
    QCOMPARE(o.message, shortOf10);
    QCOMPARE(o.title, u"错误"_qs);
    // Two lines of the same item are added up, letter case ignored; the message names the
    // line at which the item runs short.
    o = saveDocument(c, requisition(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"6"_qs, u"支"_qs},
                                                     {u"角铝"_qs, u"a1"_qs, u"6"_qs, u"根"_qs}}));
    QCOMPARE(o.message, u"产品名称：角铝\r\n产品型号：a1\r\n库中不够 只有10根 无法领出！"_qs);
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
    QCOMPARE(loadDropDownLists(c, DocumentKind::Requisition).parties, QStringList{u"一号楼"_qs});
    QCOMPARE(loadDropDownLists(c, DocumentKind::Receipt).parties, QStringList{QString()});
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
    const Outcome refused =
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
    Outcome o = saveDocument(c, receipt(u"00000002"_qs, lines));
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
    const Outcome o = deleteDocument(c, DocumentKind::Receipt, u"00000001"_qs);
    QCOMPARE(o.message, u"单据号：00000001删除成功！"_qs);
    QCOMPARE(o.title, u"提示"_qs);
    QCOMPARE(dump(c), QString());
    // A modification saved after another clerk deleted the document does not bring it back.
    const Outcome late = saveDocument(
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
    const Outcome late =
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
    Connection other;
    QVERIFY(other.openSqlite(store.databasePath()));
    QVERIFY(other.begin()); // holds the write lock past the busy timeout
    const Outcome o = saveDocument(
        store.connection(), receipt(u"00000001"_qs, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}}));
    QCOMPARE(o.message, u"数据库正被另一个程序使用，保存单据没有完成，请稍后再试。"_qs);
    QVERIFY(other.rollback());
    QCOMPARE(count(store.connection(), u"SELECT COUNT(*) FROM yclnote"_qs), 0);
}

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
