// Several clerks saving at once, each on his own connection: receipts and requisitions with
// numbers taken the way 添加 takes them, requisitions that ask for more than is left. Runs on
// the SQLite file and on the database server (see support/testserver.h).

#include "db/connection.h"
#include "documents/documentnumber.h"
#include "documents/documentsave.h"
#include "documents/stockcheck.h"
#include "stock/stockbalance.h"
#include "support/tempdatastore.h"

#include <QMap>
#include <QMutex>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <memory>

using namespace mv;
using mv::test::TempDataStore;

namespace {

constexpr int kClients = 4;
constexpr int kEachKind = 100;
const QStringList kModels = {u"A1"_qs, u"A2"_qs, u"a3"_qs, u"B1"_qs, u"B2"_qs};

struct Accepted
{
    QString direction; // 入库 or 出库
    QString number;
    QList<DocumentLine> lines;
};

struct ClientResult
{
    QList<Accepted> accepted;
    QString failure; // anything but the expected refusals
    int stockRefusals = 0;
};

// One clerk: alternates receipts and requisitions. A number another clerk took first is
// refused; he presses 添加 again (the next number after the one shown) and saves again.
void runClient(const QString& url, int seed, ClientResult* result)
{
    Connection connection;
    if (!connection.openUrl(url, &result->failure))
        return;
    QRandomGenerator random{quint32(seed)};
    QString shown[2] = {u"00000000"_qs, u"00000000"_qs};
    for (int i = 0; i < 2 * kEachKind; ++i) {
        const bool isReceipt = i % 2 == 0;
        Document document;
        document.kind = isReceipt ? DocumentKind::Receipt : DocumentKind::Requisition;
        document.header = {{},
                           QDate(2010, 1, 5),
                           isReceipt ? u"华东铝业"_qs : u"一号楼"_qs,
                           u"铝材"_qs,
                           u"clerk"_qs + QString::number(seed)};
        const int lineCount = 1 + int(random.bounded(3));
        for (int l = 0; l < lineCount; ++l) {
            const QString model = kModels.at(int(random.bounded(kModels.size())));
            const int quantity = 1 + int(random.bounded(isReceipt ? 10 : 14));
            document.lines.append({{u"角铝"_qs, model, QString::number(quantity), u"支"_qs}});
        }
        int busy = 0;
        for (int attempt = 0;; ++attempt) {
            QString& number = shown[isReceipt ? 0 : 1];
            if (busy == 0)
                number = nextDocumentNumber(number);
            document.header.number = number;
            const DocumentOutcome outcome = saveDocument(connection, document);
            // Told the database is busy (a loaded machine can keep four writers waiting past
            // the busy timeout), the clerk saves the same form again, as the message asks.
            if (!outcome.done && outcome.message.startsWith(u"数据库正被另一个程序使用"_qs) &&
                busy < 20) {
                ++busy;
                continue;
            }
            busy = 0;
            if (outcome.done) {
                result->accepted.append(
                    {isReceipt ? u"入库"_qs : u"出库"_qs, number, document.lines});
                break;
            }
            if (outcome.message == u"单据号重复，无法录入系统！"_qs &&
                attempt < 2 * kClients * kEachKind)
                continue;
            if (!isReceipt && outcome.message.contains(u"库中不够"_qs)) {
                ++result->stockRefusals;
                break;
            }
            result->failure = outcome.message;
            return;
        }
    }
}

QStringList column(Connection& connection, const QString& sql)
{
    QStringList values;
    auto rows = connection.query(sql);
    for (; rows && !rows->eof(); rows->next())
        values.append(rows->field(0));
    return values;
}

} // namespace

class TestConcurrentSaves : public QObject
{
    Q_OBJECT
private slots:
    void fourClerksLoseAndDoubleNothing();
    void lastUnitsGoToOneClerk();
    void receiptDeletionWaitsForAnIssue();
};

void TestConcurrentSaves::fourClerksLoseAndDoubleNothing()
{
    TempDataStore store;
    QVERIFY(store.isValid());
    ClientResult results[kClients];
    QList<QThread*> threads;
    for (int c = 0; c < kClients; ++c)
        threads.append(QThread::create(runClient, store.url(), c + 1, &results[c]));
    for (QThread* thread : threads)
        thread->start();
    for (QThread* thread : threads) {
        QVERIFY(thread->wait(240000));
        delete thread;
    }

    // The accepted documents, replayed one after the other: lines and stock per item.
    QMap<QString, qint64> stock;
    QStringList expectedLines;
    QStringList expectedHeaders;
    int refused = 0;
    for (const ClientResult& result : results) {
        QVERIFY2(result.failure.isEmpty(), qPrintable(result.failure));
        refused += result.stockRefusals;
        for (const Accepted& document : result.accepted) {
            expectedHeaders.append(document.number + u' ' + document.direction.left(1));
            for (const DocumentLine& line : document.lines) {
                expectedLines.append(document.number + u' ' + document.direction + u' ' +
                                     line.cell(LineModel).toUpper() + u' ' +
                                     line.cell(LineQuantity));
                stock[line.cell(LineModel).toUpper()] +=
                    (document.direction == u"入库"_qs ? 1 : -1) *
                    line.cell(LineQuantity).toLongLong();
            }
        }
    }
    QVERIFY2(refused > 0, "no requisition asked for more than was left: the test proves little");

    Connection& c = store.connection();
    // No number twice per direction, and exactly the accepted headers.
    QStringList headers = column(c, u"SELECT 单号 || ' ' || 出入 FROM ycldate"_qs);
    QCOMPARE(QSet<QString>(headers.begin(), headers.end()).size(), headers.size());
    headers.sort();
    expectedHeaders.sort();
    QCOMPARE(headers, expectedHeaders);
    // Every stored line belongs to an accepted document, whole.
    QStringList lines = column(
        c, u"SELECT 单据号 || ' ' || 正负 || ' ' || upper(型号) || ' ' || 数量 FROM yclnote"_qs);
    lines.sort();
    expectedLines.sort();
    QCOMPARE(lines, expectedLines);
    // No item below zero, and every figure that of the serial replay.
    for (auto it = stock.cbegin(); it != stock.cend(); ++it) {
        QVERIFY2(it.value() >= 0, qPrintable(it.key()));
        QCOMPARE(StockBalance(c, u"角铝"_qs, it.key()), it.value());
    }
}

void TestConcurrentSaves::lastUnitsGoToOneClerk()
{
    // The first clerk's requisition for the last 10 units is saved but not yet committed when
    // the second asks for them too: the second waits, then sees the stock as it now is.
    TempDataStore store;
    Document first;
    first.kind = DocumentKind::Receipt;
    first.header = {u"00000001"_qs, QDate(2010, 1, 5), u"华东铝业"_qs, u"铝材"_qs, u"a"_qs};
    first.lines.append({{u"角铝"_qs, u"A1"_qs, u"10"_qs, u"支"_qs}});
    QVERIFY(saveDocument(store.connection(), first).done);
    first.kind = DocumentKind::Requisition;
    first.header.party = u"一号楼"_qs;
    Document second = first;
    second.header.number = u"00000002"_qs;
    second.lines[0].cells[LineModel] = u"a1"_qs;

    DocumentOutcome secondOutcome;
    std::unique_ptr<QThread> clerk;
    {
        Transaction open(store.connection());
        QVERIFY(saveDocument(store.connection(), first).done);
        clerk.reset(QThread::create([&] {
            Connection other;
            if (other.openUrl(store.url()))
                secondOutcome = saveDocument(other, second);
        }));
        clerk->start();
        QVERIFY(!clerk->wait(500)); // held up by the first clerk's save
        QVERIFY(open.commit());
    }
    QVERIFY(clerk->wait(30000));
    QVERIFY(!secondOutcome.done);
    QVERIFY2(secondOutcome.message.contains(u"库中不够 只有0支"_qs),
             qPrintable(secondOutcome.message));
    QCOMPARE(StockBalance(store.connection(), u"角铝"_qs, u"A1"_qs), 0);
}

void TestConcurrentSaves::receiptDeletionWaitsForAnIssue()
{
    // A clerk deletes the receipt of 10 units while another clerk's requisition for 8 of them
    // is saved but not yet committed: the deletion waits, then finds the goods issued.
    TempDataStore store;
    Document receipt;
    receipt.kind = DocumentKind::Receipt;
    receipt.header = {u"00000001"_qs, QDate(2010, 1, 5), u"华东铝业"_qs, u"铝材"_qs, u"a"_qs};
    receipt.lines.append({{u"角铝"_qs, u"A1"_qs, u"10"_qs, u"支"_qs}});
    QVERIFY(saveDocument(store.connection(), receipt).done);
    Document issue = receipt;
    issue.kind = DocumentKind::Requisition;
    issue.header.party = u"一号楼"_qs;
    issue.lines[0].cells[LineQuantity] = u"8"_qs;

    DocumentOutcome deletion;
    std::unique_ptr<QThread> clerk;
    {
        Transaction open(store.connection());
        QVERIFY(saveDocument(store.connection(), issue).done);
        clerk.reset(QThread::create([&] {
            Connection other;
            if (other.openUrl(store.url()))
                deletion = deleteDocument(other, DocumentKind::Receipt, u"00000001"_qs);
        }));
        clerk->start();
        QVERIFY(!clerk->wait(500)); // held up by the requisition's save
        QVERIFY(open.commit());
    }
    QVERIFY(clerk->wait(30000));
    QCOMPARE(deletion.message, u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有2支 无法删除！"_qs);
    QCOMPARE(StockBalance(store.connection(), u"角铝"_qs, u"A1"_qs), 2);
}

QTEST_GUILESS_MAIN(TestConcurrentSaves)
#include "tst_concurrentsaves.moc"
