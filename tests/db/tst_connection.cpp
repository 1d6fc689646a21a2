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
    void forwardOnlyReadsAsTheDriverDoes();
    void closeFinishesAnUnfinishedRead();
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

namespace {

// Every record of a result as text: each column's value (type and content), field text and
// the position of a few names.
QString dump(ResultSet& rs)
{
    QString text;
    for (const char* name : {"i", "I", "Quoted", "joined", "t", "x.t", "y.T", "missing"})
        text += QStringLiteral("%1=%2 ")
                    .arg(QLatin1String(name))
                    .arg(rs.columnIndex(QLatin1String(name)));
    for (; !rs.eof(); rs.next()) {
        text += u'\n';
        for (int c = 0; c < 7; ++c) {
            const QVariant value = rs.value(c);
            text += QStringLiteral("[%1 %2 %3 '%4' '%5'] ")
                        .arg(QLatin1String(value.typeName()))
                        .arg(value.isValid())
                        .arg(value.isNull())
                        .arg(value.toString(), rs.field(c));
        }
    }
    return text + u'\n';
}

} // namespace

// A forward-only SQLite result is read without Qt SQL; a caller sees the same values, names,
// binding and failures as from a scrollable one, which Qt's driver reads.
void TestConnection::forwardOnlyReadsAsTheDriverDoes()
{
    QVERIFY(m_db->execute(u"CREATE TABLE x (i INTEGER, r REAL, t TEXT, b BLOB, n)"_qs));
    QVERIFY(m_db->execute(u"INSERT INTO x VALUES (1, 1.5, '  007', X'00ff', NULL),"
                          " (9007199254740993, 1e20, '中文\u00e9', X'', 'x'),"
                          " (-1, 0.1, '', NULL, 2.5), (0, -0.0, NULL, NULL, 7)"_qs));
    const QList<std::pair<QString, QVariantList>> statements{
        {u"SELECT * FROM x"_qs, {}},
        {u"SELECT i AS \"Quoted\", t || ? AS joined, x.t, ?, ?, ?, ? FROM x WHERE i > ?"_qs,
         {u"!"_qs, QString(), QDate(2024, 5, 1), true, QByteArray("\x01\x02", 2), -1}},
        {u"SELECT ?, ?, ?, ?, ?, ?, ?"_qs,
         {2.25, qint64(1) << 40, QVariant(), QDate(), QDateTime(QDate(2024, 1, 2), QTime(3, 4)),
          QTime(5, 6, 7), QByteArray()}},
        {u"SELECT sum(i), count(*), max(t), min(r), avg(n), NULL, 'a' FROM x"_qs, {}},
    };
    for (const auto& [sql, values] : statements) {
        const auto driven = m_db->query(sql, values, false);
        const auto native = m_db->query(sql, values, true);
        QVERIFY2(driven && native, qPrintable(sql + u": "_qs + m_db->lastError()));
        QCOMPARE(dump(*native), dump(*driven));
    }

    for (const auto& [sql, values] :
         QList<std::pair<QString, QVariantList>>{{u"SELECT * FROM missing_table"_qs, {}},
                                                 {u"SELECT 1; SELECT 2"_qs, {}},
                                                 {u"SELECT ?"_qs, {}},
                                                 {u"SELECT ?"_qs, {1, 2}},
                                                 {u"SELEKT 1"_qs, {}}}) {
        QVERIFY(!m_db->query(sql, values, false));
        const QString driven = m_db->lastErrorForUser();
        QVERIFY(!m_db->query(sql, values, true));
        QCOMPARE(m_db->lastErrorForUser(), driven);
        QVERIFY(m_db->query(u"SELECT 1"_qs, true));
        QVERIFY(m_db->lastError().isEmpty());
    }
}

// A read left unfinished holds the file; closing the connection ends it, so that the file is
// free for a writer (a restore replaces it) and the result reads as ended.
void TestConnection::closeFinishesAnUnfinishedRead()
{
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_db->execute(u"INSERT INTO t VALUES ('k', 'v')"_qs));
    auto rs = m_db->query(u"SELECT k FROM t"_qs, true);
    QVERIFY(rs && !rs->eof());
    m_db->close();
    QVERIFY(rs->eof());
    QCOMPARE(rs->field(0), QString());
    Connection writer;
    QVERIFY(writer.openSqlite(databasePath()));
    QVERIFY(writer.begin());
    QVERIFY(writer.execute(u"DELETE FROM t"_qs));
    QVERIFY2(writer.commit(), qPrintable(writer.lastError()));
    rs.reset();
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
