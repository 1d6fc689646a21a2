// Documents saved while the program is killed: a child process saves, changes and deletes
// documents through the page's own core functions in a loop and is killed with SIGKILL at
// random moments. After each kill the database must be sound, every header must have its
// lines and every line its header, and the documents and the stock must be what a replay of
// the child's own log of finished operations gives.

#include "db/connection.h"
#include "db/datastore.h"
#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "stock/itemkey.h"
#include "stock/stockfigures.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace mv;

namespace {

constexpr int kKills = 20;

const QString kLogName = u"operations.log"_qs;

// The materials the child picks from; some differ from each other only in Latin letter case,
// so they are one item.
const QList<std::pair<QString, QString>> kItems = {
    {u"铝型材"_qs, u"A-1"_qs}, {u"铝型材"_qs, u"a-1"_qs}, {u"玻璃"_qs, u"5mm"_qs},
    {u"Pipe"_qs, u"x"_qs},     {u"PIPE"_qs, u"X"_qs},     {u"胶条"_qs, u"黑"_qs},
};

QString kindName(DocumentKind kind)
{
    return kind == DocumentKind::Receipt ? u"R"_qs : u"Q"_qs;
}

// A document's lines as the log and the comparison write them: "name|model|quantity;...".
QString linesText(const QList<DocumentLine>& lines)
{
    QStringList parts;
    for (const DocumentLine& line : lines)
        parts.append(line.cell(LineName) + u'|' + line.cell(LineModel) + u'|' +
                     line.cell(LineQuantity));
    return parts.join(u';');
}

// ---- the child: saves until it is killed -------------------------------------------------

Document randomDocument(QRandomGenerator& random, DocumentKind kind, const QString& number)
{
    Document document;
    document.kind = kind;
    document.header = {number, QDate(2010, 1, 1).addDays(random.bounded(300)), u"甲方"_qs,
                       u"型材"_qs, u"admin"_qs};
    const int count = random.bounded(1, 5);
    for (int i = 0; i < count; ++i) {
        const auto& [name, model] = kItems.at(random.bounded(int(kItems.size())));
        const int quantity =
            kind == DocumentKind::Receipt ? random.bounded(1, 30) : random.bounded(1, 6);
        document.lines.append(DocumentLine{
            {name, model, QString::number(quantity), u"支"_qs, u"3"_qs, QString()}, i + 1});
    }
    return document;
}

int runChild(const QString& directory, quint32 seed)
{
    Connection connection;
    QString error;
    if (!openDataStore(connection, directory, {}, &error)) {
        qWarning("child: %s", qPrintable(error));
        return 2;
    }
    QFile log(directory + u'/' + kLogName);
    if (!log.open(QIODevice::Append | QIODevice::Unbuffered))
        return 3;
    // Each record goes to the file with one write: a kill leaves whole records behind.
    const auto record = [&log](const QString& text) { log.write((text + u'\n').toUtf8()); };
    fputs("ready\n", stdout);
    fflush(stdout);
    QRandomGenerator random(seed);
    for (qint64 sequence = 0;; ++sequence) {
        const DocumentKind kind =
            random.bounded(100) < 60 ? DocumentKind::Receipt : DocumentKind::Requisition;
        const int choice = random.bounded(100);
        const std::optional<QStringList> numbers = documentNumbers(connection, kind, &error);
        if (!numbers)
            return 4;
        const QString id = QString::number(seed) + u'.' + QString::number(sequence);
        DocumentOutcome outcome;
        if (choice < 55 || numbers->isEmpty()) {
            const std::optional<QString> number = nextFreeNumber(connection, kind, &error);
            if (!number)
                return 4;
            const Document document = randomDocument(random, kind, *number);
            record(u"B "_qs + id + u" save "_qs + kindName(kind) + u' ' + *number + u' ' +
                   linesText(document.lines));
            outcome = saveDocument(connection, document);
        } else {
            const QString number = numbers->at(random.bounded(int(numbers->size())));
            const QString version = storedDocumentVersion(connection, kind, number);
            if (choice < 80) {
                const Document document = randomDocument(random, kind, number);
                record(u"B "_qs + id + u" save "_qs + kindName(kind) + u' ' + number + u' ' +
                       linesText(document.lines));
                outcome = saveDocument(connection, document, number, version);
            } else {
                record(u"B "_qs + id + u" delete "_qs + kindName(kind) + u' ' + number + u" -"_qs);
                outcome = deleteDocument(connection, kind, number, version);
            }
        }
        record((outcome.done ? u"E "_qs : u"F "_qs) + id);
    }
}

// ---- the parent: kills the child and checks what is left ---------------------------------

// The documents by kind and number, each as its lines' text.
using Documents = QMap<QString, QString>;

struct Operation
{
    QString action; // "save" or "delete"
    QString key;    // kind and number
    QString lines;
};

void apply(Documents& documents, const Operation& operation)
{
    if (operation.action == u"save"_qs)
        documents.insert(operation.key, operation.lines);
    else
        documents.remove(operation.key);
}

// The stock of every item (Latin letter case folded) that the documents give.
QMap<QString, qint64> replayStock(const Documents& documents)
{
    QMap<QString, qint64> stock;
    for (auto it = documents.cbegin(); it != documents.cend(); ++it) {
        const qint64 sign = it.key().startsWith(u'R') ? 1 : -1;
        for (const QString& line : it.value().split(u';', Qt::SkipEmptyParts)) {
            const QStringList cells = line.split(u'|');
            const ItemKey key = itemKey(cells.at(0), cells.at(1));
            stock[key.name + u'|' + key.model] += sign * cells.at(2).toLongLong();
        }
    }
    for (auto it = stock.begin(); it != stock.end();)
        it = it.value() == 0 ? stock.erase(it) : std::next(it);
    return stock;
}

QMap<QString, qint64> storedStock(Connection& connection)
{
    QMap<QString, qint64> stock;
    const std::optional<QHash<ItemKey, ItemSums>> read = allItemSums(connection);
    if (!read)
        qFatal("stock unreadable: %s", qPrintable(connection.lastError()));
    const QHash<ItemKey, ItemSums>& sums = *read;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        if (it->in != it->out)
            stock[it.key().name + u'|' + it.key().model] = it->in - it->out;
    return stock;
}

Documents storedDocuments(Connection& connection)
{
    Documents documents;
    for (const DocumentKind kind : {DocumentKind::Receipt, DocumentKind::Requisition}) {
        const std::optional<QStringList> numbers = documentNumbers(connection, kind, nullptr);
        for (const QString& number : numbers.value_or(QStringList())) {
            const std::optional<LoadedDocument> loaded = loadDocument(connection, kind, number);
            documents.insert(kindName(kind) + u' ' + number,
                             loaded ? linesText(loaded->lines) : u"unreadable"_qs);
        }
    }
    return documents;
}

qint64 count(Connection& connection, const QString& sql)
{
    const auto result = connection.query(sql, true);
    return result && !result->eof() ? result->value(0).toLongLong() : -1;
}

} // namespace

class TestCrashSaves : public QObject
{
    Q_OBJECT
private slots:
    void killedSavesLeaveWholeDocuments();
};

void TestCrashSaves::killedSavesLeaveWholeDocuments()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    {
        Connection connection;
        QString error;
        QVERIFY2(openDataStore(connection, directory.path(), {}, &error), qPrintable(error));
    }
    QRandomGenerator random(QRandomGenerator::global()->generate());
    const quint32 firstSeed = random.generate() % 1000000;
    qInfo("seeds from %u", firstSeed);

    Documents expected;
    qint64 logOffset = 0;
    int finished = 0, refused = 0, cutCommitted = 0, cutLost = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--child"_qs, directory.path(), QString::number(firstSeed + kill)});
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForReadyRead(10000), "the child did not start saving");
        QThread::msleep(random.bounded(20, 250));
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        // The operations the child began since the last kill: finished ones count, refused ones
        // must have left nothing, and the last one may have been cut off either side of its
        // commit.
        QFile log(directory.filePath(kLogName));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.seek(logOffset));
        const QByteArray added = log.readAll();
        logOffset += added.size();
        std::optional<Operation> pending;
        for (const QString& line : QString::fromUtf8(added).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u' ');
            if (fields.at(0) == u"B"_qs) {
                QVERIFY2(!pending, qPrintable(line));
                QCOMPARE(fields.size(), 6);
                pending = Operation{fields.at(2), fields.at(3) + u' ' + fields.at(4), fields.at(5)};
            } else {
                QVERIFY2(pending, qPrintable(line));
                if (fields.at(0) == u"E"_qs) {
                    apply(expected, *pending);
                    ++finished;
                } else {
                    ++refused;
                }
                pending.reset();
            }
        }

        Connection connection;
        QString error;
        QVERIFY2(openDataStore(connection, directory.path(), {}, &error), qPrintable(error));
        const auto integrity = connection.query(u"PRAGMA integrity_check"_qs, true);
        QVERIFY(integrity);
        QCOMPARE(integrity->field(0), u"ok"_qs);
        QCOMPARE(count(connection, u"SELECT count(*) FROM ycldate h WHERE NOT EXISTS (SELECT 1 "
                                   "FROM yclnote n WHERE n.单据号 = h.单号 AND n.正负 = "
                                   "CASE h.出入 WHEN '入' THEN '入库' ELSE '出库' END)"_qs),
                 0);
        QCOMPARE(count(connection, u"SELECT count(*) FROM yclnote n WHERE NOT EXISTS (SELECT 1 "
                                   "FROM ycldate h WHERE h.单号 = n.单据号 AND h.出入 = "
                                   "CASE n.正负 WHEN '入库' THEN '入' ELSE '出' END)"_qs),
                 0);

        const Documents stored = storedDocuments(connection);
        if (pending) {
            Documents withPending = expected;
            apply(withPending, *pending);
            if (stored == withPending && stored != expected) {
                expected = withPending;
                ++cutCommitted;
            } else {
                ++cutLost;
            }
        }
        QCOMPARE(stored, expected);
        QCOMPARE(storedStock(connection), replayStock(expected));
    }
    qInfo("%d kills; %d operations finished (%d refused and left nothing); of the operations "
          "cut off by the kill, %d were committed and %d left nothing; %lld documents stored",
          kKills, finished, refused, cutCommitted, cutLost, qint64(expected.size()));
    QVERIFY(finished > 0);
}

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        QCoreApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), quint32(QByteArray(argv[3]).toUInt()));
    }
    QCoreApplication app(argc, argv);
    TestCrashSaves test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsaves.moc"
