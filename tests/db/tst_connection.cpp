// The SQLite connection: result-set navigation, failures, transactions and mv_int.

#include "db/connection.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace mv;

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void failuresGiveNoResultSet();
    void navigatesRecords();
    void emptyResultHasNoCurrentRecord();
    void forwardOnlyReadsOnce();
    void keepsTextsExactly();
    void transactionGuardRollsBackUnlessCommitted();
    void mvIntFollowsTheToIntegerRule_data();
    void mvIntFollowsTheToIntegerRule();
    void mvIntAggregatesQuantities();
    void openUrl();
    void closeReleasesTheHandle();

private:
    QString databasePath() const { return QDir(m_dir->path()).filePath(QStringLiteral("t.db")); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Connection> m_db;
};

void TestConnection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = std::make_unique<Connection>();
    QString error;
    QVERIFY2(m_db->openSqlite(databasePath(), &error), qPrintable(error));
    QVERIFY(m_db->isOpen());
    QCOMPARE(m_db->path(), databasePath());
    QVERIFY(m_db->execute(QStringLiteral("CREATE TABLE t (k TEXT, v TEXT)")));
}

void TestConnection::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void TestConnection::failuresGiveNoResultSet()
{
    QVERIFY(!m_db->query(QString()));
    QVERIFY(!m_db->lastError().isEmpty());
    QVERIFY(!m_db->query(QStringLiteral("   ")));
    QVERIFY(!m_db->query(QStringLiteral("SELECT * FROM missing_table")));
    QVERIFY(m_db->lastError().contains(QStringLiteral("missing_table")));
    QVERIFY(!m_db->execute(QStringLiteral("INSERT INTO t VALUES ('it's')")));
    QVERIFY(!m_db->execute(QString()));
    QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('a', '1')")));
    QVERIFY(m_db->lastError().isEmpty());
}

void TestConnection::navigatesRecords()
{
    for (const char* k : {"a", "b", "c"})
        QVERIFY(m_db->execute(
            QStringLiteral("INSERT INTO t VALUES ('%1', 'v%1')").arg(QLatin1String(k))));
    const auto rs = m_db->query(QStringLiteral("SELECT * FROM t ORDER BY k"));
    QVERIFY(rs);
    // The first record is current right after the query.
    QVERIFY(!rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("a"));
    QCOMPARE(rs->field(QStringLiteral("v")), QStringLiteral("va"));
    QCOMPARE(rs->field(QStringLiteral("unknown")), QString());
    QCOMPARE(rs->columnIndex(QStringLiteral("v")), 1);
    QCOMPARE(rs->field(1), QStringLiteral("va"));
    rs->last();
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("c"));
    rs->next();
    QVERIFY(rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QString());
    rs->next(); // stays at the end
    QVERIFY(rs->eof());
    rs->previous();
    QVERIFY(!rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("c"));
    rs->previous();
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("b"));
    rs->first();
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("a"));
    rs->previous(); // before the first record: nothing current, yet not at the end
    QVERIFY(!rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QString());
    rs->next();
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("a"));
    rs->close();
    QVERIFY(rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QString());
}

void TestConnection::emptyResultHasNoCurrentRecord()
{
    const auto rs = m_db->query(QStringLiteral("SELECT * FROM t WHERE k='none'"));
    QVERIFY(rs);
    QVERIFY(rs->eof());
    QCOMPARE(rs->field(QStringLiteral("k")), QString());
    QVERIFY(!rs->value(QStringLiteral("k")).isValid());
    rs->first();
    rs->last();
    QVERIFY(rs->eof());
}

void TestConnection::forwardOnlyReadsOnce()
{
    QVERIFY(m_db->begin());
    for (int i = 0; i < 100; ++i)
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('%1', '')").arg(i)));
    QVERIFY(m_db->commit());
    const auto rs = m_db->query(QStringLiteral("SELECT k FROM t"), true);
    QVERIFY(rs);
    int count = 0;
    int sum = 0;
    const int column = rs->columnIndex(QStringLiteral("k"));
    for (; !rs->eof(); rs->next()) {
        sum += rs->field(column).toInt();
        ++count;
    }
    QCOMPARE(count, 100);
    QCOMPARE(sum, 4950);
}

void TestConnection::keepsTextsExactly()
{
    QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('  007', '00000001')")));
    const auto rs = m_db->query(QStringLiteral("SELECT * FROM t"));
    QVERIFY(rs);
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("  007"));
    QCOMPARE(rs->field(QStringLiteral("v")), QStringLiteral("00000001"));
}

void TestConnection::transactionGuardRollsBackUnlessCommitted()
{
    auto count = [&] {
        const auto rs = m_db->query(QStringLiteral("SELECT count(*) FROM t"));
        return rs ? rs->value(0).toInt() : -1;
    };
    {
        Transaction transaction(*m_db);
        QVERIFY(transaction.active());
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('x', '1')")));
        QCOMPARE(count(), 1);
    }
    QCOMPARE(count(), 0);
    {
        Transaction transaction(*m_db);
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('y', '2')")));
        QVERIFY(transaction.commit());
        QVERIFY(!transaction.active());
        QVERIFY(!transaction.commit());
    }
    QCOMPARE(count(), 1);
    QVERIFY(m_db->begin());
    QVERIFY(m_db->execute(QStringLiteral("DELETE FROM t")));
    QVERIFY(m_db->rollback());
    QCOMPARE(count(), 1);
}

void TestConnection::mvIntFollowsTheToIntegerRule_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("expected");
    QTest::newRow("null") << QStringLiteral("NULL") << 0;
    QTest::newRow("integer") << QStringLiteral("42") << 42;
    QTest::newRow("big integer") << QStringLiteral("99999999999") << 2147483647;
    QTest::newRow("real") << QStringLiteral("2.9") << 2;
    QTest::newRow("negative real") << QStringLiteral("-2.9") << -2;
    QTest::newRow("text") << QStringLiteral("'  -12abc'") << -12;
    QTest::newRow("decimal text") << QStringLiteral("'2.9'") << 2;
    QTest::newRow("no number") << QStringLiteral("'abc'") << 0;
    QTest::newRow("full-width text") << QStringLiteral("'　１２３'") << 123;
    QTest::newRow("full-width minus") << QStringLiteral("'－５'") << -5;
}

void TestConnection::mvIntFollowsTheToIntegerRule()
{
    QFETCH(QString, expression);
    QFETCH(int, expected);
    const auto rs = m_db->query(QStringLiteral("SELECT mv_int(%1)").arg(expression));
    QVERIFY2(rs, qPrintable(m_db->lastError()));
    QCOMPARE(rs->value(0).toInt(), expected);
}

void TestConnection::mvIntAggregatesQuantities()
{
    for (const QString& v : {QStringLiteral("10"), QStringLiteral("２０"), QStringLiteral("3.7"),
                             QStringLiteral("x"), QStringLiteral(" 5件")})
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO t VALUES ('a', '%1')").arg(v)));
    const auto rs = m_db->query(QStringLiteral("SELECT sum(mv_int(v)) FROM t WHERE k='a'"));
    QVERIFY(rs);
    QCOMPARE(rs->value(0).toInt(), 38);
}

void TestConnection::openUrl()
{
    Connection other;
    const QString path = QDir(m_dir->path()).filePath(QStringLiteral("url.db"));
    QVERIFY(other.openUrl(QStringLiteral("sqlite:") + path));
    QCOMPARE(other.path(), path);
    QVERIFY(other.execute(QStringLiteral("CREATE TABLE u (x TEXT)")));
    QVERIFY(other.sqliteHandle());

    Connection unknown;
    QString error;
    QVERIFY(!unknown.openUrl(QStringLiteral("mysql://host/db"), &error));
    QVERIFY(error.startsWith(QStringLiteral("暂不支持该数据库类型")));
    QVERIFY(!unknown.isOpen());
    QVERIFY(!unknown.query(QStringLiteral("SELECT 1")));
}

void TestConnection::closeReleasesTheHandle()
{
    QVERIFY(m_db->sqliteHandle());
    // Two connections to the same file each get a connection of their own.
    Connection second;
    QVERIFY(second.openSqlite(databasePath()));
    QVERIFY(second.execute(QStringLiteral("INSERT INTO t VALUES ('s', '')")));
    m_db->close();
    QVERIFY(!m_db->isOpen());
    QVERIFY(!m_db->sqliteHandle());
    QVERIFY(!m_db->execute(QStringLiteral("SELECT 1")));
    const auto rs = second.query(QStringLiteral("SELECT k FROM t"));
    QVERIFY(rs);
    QCOMPARE(rs->field(QStringLiteral("k")), QStringLiteral("s"));
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
