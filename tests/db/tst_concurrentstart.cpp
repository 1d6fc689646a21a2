// Copies of the program started at the same moment on an empty data directory: each one is a
// process of this test (started with --open-store) that opens the data store and writes its
// own account. Every copy must succeed and every account must be in the one db.mdb: a copy
// that removed or replaced another's new database would leave that one writing into a file
// nobody sees.

#include "db/connection.h"
#include "db/datastore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace mv;

namespace {

const int kCopies = 4;
const int kRounds = 10;

// One copy: waits for the common start moment, opens the store, adds account number copy.
int openStoreAsCopy(const QString& directory, int copy, qint64 startAt)
{
    while (QDateTime::currentMSecsSinceEpoch() < startAt)
        QThread::usleep(200);
    Connection db;
    QString error;
    if (!openDataStore(db, directory, {}, &error) ||
        !db.execute(
            QStringLiteral("INSERT INTO [user] (编号, 用户, 密码) VALUES (%1, 'copy%1', 'x')")
                .arg(100 + copy))) {
        std::fprintf(stderr, "%s %s\n", qPrintable(error), qPrintable(db.lastError()));
        return 1;
    }
    return 0;
}

} // namespace

class TestConcurrentStart : public QObject
{
    Q_OBJECT
private slots:
    void copiesStartedTogetherShareOneDatabase()
    {
        for (int round = 0; round < kRounds; ++round) {
            QTemporaryDir dir;
            const QString home = dir.filePath(u"home"_qs);
            const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 400;
            QList<QProcess*> copies;
            for (int copy = 0; copy < kCopies; ++copy) {
                auto* process = new QProcess(this);
                process->start(
                    QCoreApplication::applicationFilePath(),
                    {u"--open-store"_qs, home, QString::number(copy), QString::number(startAt)});
                copies.append(process);
            }
            for (QProcess* process : copies) {
                QVERIFY(process->waitForFinished(30000));
                QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                         process->readAllStandardError().constData());
                delete process;
            }
            Connection db;
            QVERIFY(db.openSqlite(QDir(home).filePath(u"db.mdb"_qs)));
            const auto accounts =
                db.query(u"SELECT count(*) FROM [user] WHERE 用户 LIKE 'copy%'"_qs, true);
            QVERIFY(accounts);
            QCOMPARE(accounts->value(0).toInt(), kCopies);
            db.close();
            QCOMPARE(QDir(home).entryList(QDir::Files), QStringList{u"db.mdb"_qs});
        }
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == u"--open-store"_qs)
        return openStoreAsCopy(arguments[2], arguments[3].toInt(), arguments[4].toLongLong());
    TestConcurrentStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_concurrentstart.moc"
