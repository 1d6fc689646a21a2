// The schema and the SQL pieces that differ between SQLite and the database server: run
// against both (see support/testserver.h).

#include "common/reportlistmodel.h"
#include "common/texts.h"
#include "db/builders.h"
#include "db/connection.h"
#include "db/databasechoice.h"
#include "db/datastore.h"
#include "db/dialect.h"
#include "documents/documentsave.h"
#include "exchange/backup/databasebackup.h"
#include "stock/stockbalance.h"
#include "stock/stocklist.h"
#include "support/tempdatastore.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace mv;
using mv::test::TempDataStore;

namespace {

// Opens the store's data again on a new connection, as the next start of the program does.
bool reopen(TempDataStore& store, Connection& connection, QString* error)
{
    if (store.onServer())
        return openServerDatabase(connection, store.url(), {}, error);
    return openDataStore(connection, store.directory(), {}, error);
}

} // namespace

class TestSchemaBackends : public QObject
{
    Q_OBJECT
private slots:
    void newSchemaHasTheFirstAccount();
    void newerSchemaIsRefusedUnchanged();
    void integerReadingIsTheProgramsRule();
    void itemKeysIgnoreLatinCaseOnly();
    void serverStatementsQuoteIdentifiers();
    void anyUtf8ServerDatabaseServes();
    void citextDatabaseIsCarriedOver();
    void storedQuantitiesAreAddedToEarlierServerDatabase();
    void backupWritesTheDatabasesOwnFormat();
    void lostConnectionStoresNothingAndReconnects();
};

void TestSchemaBackends::newSchemaHasTheFirstAccount()
{
    TempDataStore store;
    Connection again;
    QString error;
    QVERIFY2(reopen(store, again, &error), qPrintable(error));
    const auto users = again.query(u"select * from user  ORDER  BY 编号"_qs);
    QVERIFY2(users && !users->eof(), qPrintable(again.lastError()));
    QCOMPARE(users->field(u"用户"_qs), u"admin"_qs);
    QCOMPARE(users->field(u"ycl审核"_qs), u"是"_qs);
    users->next();
    QVERIFY(users->eof());
    QCOMPARE(schemaVersion(again), kSchemaVersion);
}

void TestSchemaBackends::newerSchemaIsRefusedUnchanged()
{
    TempDataStore store;
    const int newer = kSchemaVersion + 1;
    store.exec(store.onServer() ? u"UPDATE morvane_schema SET version = %1"_qs.arg(newer)
                                : u"PRAGMA user_version = %1"_qs.arg(newer));
    store.connection().close();
    Connection again;
    QString error;
    QVERIFY(!reopen(store, again, &error));
    QVERIFY2(error.contains(newerSchemaMessage(newer)), qPrintable(error));
    QVERIFY(!again.isOpen());
    QVERIFY(again.openUrl(store.url()));
    QCOMPARE(schemaVersion(again), newer);
}

void TestSchemaBackends::integerReadingIsTheProgramsRule()
{
    TempDataStore store;
    const QStringList texts = {u"12"_qs,          u" 7"_qs,     u"\t-3x"_qs, u"+8"_qs,
                               u"2.9"_qs,         u"-2.5"_qs,   u"abc"_qs,   u""_qs,
                               u"１２"_qs,        u"－３"_qs,   u"　４"_qs,  u"3000000000"_qs,
                               u"-9999999999"_qs, u"000123"_qs, u"- 5"_qs,   u"12３4"_qs};
    for (const QString& text : texts) {
        const auto result = store.connection().query(u"SELECT mv_int("_qs + sqlQuoted(text) + u')');
        QVERIFY2(result, qPrintable(store.connection().lastError()));
        QCOMPARE(result->value(0).toInt(), toInteger(text));
    }
    const auto null = store.connection().query(u"SELECT mv_int(NULL)"_qs);
    QVERIFY(null);
    QCOMPARE(null->value(0).toInt(), 0);
}

void TestSchemaBackends::itemKeysIgnoreLatinCaseOnly()
{
    TempDataStore store;
    for (const QString& name : {u"ZS-Ä"_qs, u"zs-ä"_qs, u"zs-Ä"_qs, u"ＺＳ"_qs, u"ｚｓ"_qs})
        store.addLine(name, u"M"_qs, u"入库"_qs, u"1"_qs, u"2010-01-05"_qs);
    const QString key = store.connection().dialect().itemKey(u"原材料名字"_qs);
    const auto groups = store.connection().query(u"SELECT count(*) FROM yclnote GROUP BY "_qs +
                                                 key + u" ORDER BY 1 DESC"_qs);
    QVERIFY2(groups, qPrintable(store.connection().lastError()));
    QStringList counts;
    for (; !groups->eof(); groups->next())
        counts.append(groups->field(0));
    // Only A-Z fold: "ZS-Ä"/"zs-Ä" are one item, "zs-ä" another, the full-width forms two more.
    QCOMPARE(counts, QStringList({u"2"_qs, u"1"_qs, u"1"_qs, u"1"_qs}));
}

void TestSchemaBackends::serverStatementsQuoteIdentifiers()
{
    const Dialect server(Dialect::Postgres);
    QCOMPARE(server.translate(u"select * from user  ORDER  BY 编号"_qs),
             u"select * from \"user\"  ORDER  BY 编号"_qs);
    QCOMPARE(server.translate(u"UPDATE [user] SET 用户='user [x]' WHERE username='it''s user'"_qs),
             u"UPDATE \"user\" SET 用户='user [x]' WHERE username='it''s user'"_qs);
    QCOMPARE(server.translate(u"SELECT current_user, \"User\" FROM ycl"_qs),
             u"SELECT current_user, \"User\" FROM ycl"_qs);
    QCOMPARE(Dialect(Dialect::Sqlite).translate(u"select * from user"_qs),
             u"select * from user"_qs);
}

// Any UTF8 database serves, whatever locale createdb gave it, and its item keys fold A-Z only
// ("Ä" and "ä" stay two items even where the locale knows their case); a database that
// cannot hold the Chinese texts is refused untouched.
void TestSchemaBackends::anyUtf8ServerDatabaseServes()
{
    if (!mv::test::onTestServer())
        QSKIP("a server database only");
    for (const QString& options :
         {QString(),
          u"ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8' TEMPLATE template0"_qs}) {
        mv::test::ScratchServerDatabase database(options);
        QVERIFY(database.isValid());
        Connection connection;
        QString error;
        QVERIFY2(openServerDatabase(connection, database.url(), {}, &error), qPrintable(error));
        Document receipt;
        receipt.kind = DocumentKind::Receipt;
        receipt.header = {u"00000001"_qs, QDate(2010, 1, 5), u"甲"_qs, u"型材"_qs, u"admin"_qs};
        for (const QString& name : {u"ZS-Ä"_qs, u"zs-Ä"_qs, u"zs-ä"_qs})
            receipt.lines.append(DocumentLine{{name, u"m"_qs, u"2"_qs, u"支"_qs, u"1"_qs, {}}});
        QVERIFY(saveDocument(connection, receipt).done);
        QCOMPARE(StockBalance(connection, u"zS-Ä"_qs, u"M"_qs), 4);
        QCOMPARE(StockBalance(connection, u"ZS-ä"_qs, u"m"_qs), 2);
    }
    mv::test::ScratchServerDatabase latin(
        u"ENCODING 'SQL_ASCII' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0"_qs);
    QVERIFY(latin.isValid());
    Connection connection;
    QString error;
    QVERIFY(!openServerDatabase(connection, latin.url(), {}, &error));
    QVERIFY2(error.contains(u"UTF8"_qs), qPrintable(error));
    QVERIFY(connection.openUrl(latin.url()));
    QVERIFY(!hasProgramTables(connection));
    DatabaseChoice choice;
    QVERIFY(parseServerUrl(latin.url(), &choice));
    const ConnectionTest tested = testServerConnection(choice);
    QVERIFY(!tested.done);
    QVERIFY2(tested.message.contains(u"UTF8"_qs), qPrintable(tested.message));
}

// A server database of the earlier version kept its item columns as citext: the next start
// turns them into plain text with every row kept, and the items fold as before.
void TestSchemaBackends::citextDatabaseIsCarriedOver()
{
    TempDataStore store;
    if (!store.onServer())
        QSKIP("a server database only");
    store.addLine(u"Pipe"_qs, u"A-1"_qs, u"入库"_qs, u"5"_qs, u"2010-01-05"_qs);
    store.addLine(u"PIPE"_qs, u"a-1"_qs, u"出库"_qs, u"2"_qs, u"2010-01-06"_qs);
    store.exec(u"CREATE EXTENSION IF NOT EXISTS citext"_qs);
    store.exec(u"ALTER TABLE yclnote ALTER COLUMN 分类 TYPE citext COLLATE \"C\", "
               "ALTER COLUMN 原材料名字 TYPE citext COLLATE \"C\", "
               "ALTER COLUMN 型号 TYPE citext COLLATE \"C\", ALTER COLUMN 单位 TYPE citext"_qs);
    store.exec(u"ALTER TABLE ycl ALTER COLUMN 原材料名字 TYPE citext"_qs);
    store.exec(u"UPDATE morvane_schema SET version = 3"_qs);
    store.connection().close();
    Connection again;
    QString error;
    QVERIFY2(reopen(store, again, &error), qPrintable(error));
    QCOMPARE(schemaVersion(again), kSchemaVersion);
    const auto types = again.query(
        u"SELECT count(*) FROM information_schema.columns WHERE udt_name = 'citext'"_qs);
    QVERIFY(types);
    QCOMPARE(types->value(0).toInt(), 0);
    QCOMPARE(StockBalance(again, u"pipe"_qs, u"A-1"_qs), 3);
}

// A server database of version 4 has no stored integer quantities: the next start adds them
// for every line already there, with the index the sums read, and the figures stay as they were.
void TestSchemaBackends::storedQuantitiesAreAddedToEarlierServerDatabase()
{
    TempDataStore store;
    if (!store.onServer())
        QSKIP("a server database only");
    for (const QString& quantity : {u"5"_qs, u" 12"_qs, u"１２"_qs, u"-5"_qs, u"1e3"_qs, u"abc"_qs,
                                    u""_qs, u"98765432109876543210"_qs})
        store.addLine(u"Pipe"_qs, u"A-1"_qs, u"入库"_qs, quantity, u"2010-01-05"_qs);
    store.addLine(u"PIPE"_qs, u"a-1"_qs, u"出库"_qs, QVariant(), u"2010-01-06"_qs);
    store.addLine(u"角铝"_qs, u"B"_qs, u"出库"_qs, u"7件"_qs, u"2010-01-06"_qs);
    ReportListModel before;
    QVERIFY(RefreshStockList(store.connection(), before).done);
    store.exec(u"DROP INDEX idx_yclnote_period"_qs);
    store.exec(u"DROP INDEX idx_yclnote_list"_qs);
    store.exec(u"ALTER TABLE yclnote DROP COLUMN 数量值"_qs);
    store.exec(
        u"CREATE INDEX idx_yclnote_period ON yclnote (原材料名字, 型号, 正负, 日期, 数量)"_qs);
    store.exec(u"CREATE INDEX idx_yclnote_list ON yclnote (分类, 原材料名字, 单位, 型号)"_qs);
    store.exec(u"UPDATE morvane_schema SET version = 4"_qs);
    store.connection().close();

    Connection again;
    QString error;
    QVERIFY2(reopen(store, again, &error), qPrintable(error));
    QCOMPARE(schemaVersion(again), kSchemaVersion);
    const auto lines = again.query(
        u"SELECT count(*), count(*) FILTER (WHERE 数量值 IS DISTINCT FROM mv_int(数量)), "
        "(SELECT indexdef FROM pg_indexes WHERE indexname = 'idx_yclnote_period') FROM yclnote"_qs);
    QVERIFY2(lines, qPrintable(again.lastError()));
    QCOMPARE(lines->value(0).toInt(), 10);
    QCOMPARE(lines->value(1).toInt(), 0);
    QVERIFY2(lines->field(2).contains(u"数量值"_qs), qPrintable(lines->field(2)));
    ReportListModel after;
    QVERIFY(RefreshStockList(again, after).done);
    QCOMPARE(after.cellTexts(), before.cellTexts());
}

void TestSchemaBackends::backupWritesTheDatabasesOwnFormat()
{
    TempDataStore store;
    store.connection().setHomeDirectory(store.directory());
    store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, u"5"_qs, u"2010-01-05"_qs);
    // An older backup of the same name is replaced, and nothing else is left beside it.
    const QString name = store.onServer() ? u"周一.pgdump"_qs : u"周一.mdbbak"_qs;
    const QDir backups(store.directory() + u"/datebak"_qs);
    QVERIFY(backups.mkpath(u"."_qs));
    QFile older(backups.filePath(name));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older backup") > 0);
    older.close();
    const BackupOutcome outcome = backupDatabase(store.connection(), u"周一"_qs);
    QVERIFY2(outcome.done, qPrintable(outcome.message));
    QCOMPARE(outcome.path, backups.filePath(name));
    QFile file(outcome.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // pg_dump's custom format on the server, an SQLite file otherwise.
    QVERIFY(file.read(16).startsWith(store.onServer() ? "PGDMP" : "SQLite format 3"));
    QCOMPARE(backups.entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void TestSchemaBackends::lostConnectionStoresNothingAndReconnects()
{
    if (!mv::test::onTestServer())
        QSKIP("a server connection only");
    TempDataStore store;
    // The server drops the connection in the middle of the save, at its second line.
    store.exec(u"CREATE FUNCTION cut() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
               "IF NEW.备注 = 'cut' THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF; "
               "RETURN NEW; END $$"_qs);
    store.exec(
        u"CREATE TRIGGER cut BEFORE INSERT ON yclnote FOR EACH ROW EXECUTE FUNCTION cut()"_qs);
    Document receipt;
    receipt.kind = DocumentKind::Receipt;
    receipt.header = {u"00000001"_qs, QDate(2010, 1, 5), u"华东铝业"_qs, u"铝材"_qs, u"admin"_qs};
    receipt.lines = {{{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs, {}, {}}},
                     {{u"角铝"_qs, u"A2"_qs, u"5"_qs, u"支"_qs, {}, u"cut"_qs}}};
    const DocumentOutcome lost = saveDocument(store.connection(), receipt);
    QVERIFY(!lost.done);
    QVERIFY2(lost.message.contains(u"连接中断"_qs), qPrintable(lost.message));

    // The next operation opens the connection again; the first save left nothing behind.
    receipt.lines.removeLast();
    const DocumentOutcome saved = saveDocument(store.connection(), receipt);
    QVERIFY2(saved.done, qPrintable(saved.message));
    const auto lines = store.connection().query(u"SELECT count(*) FROM yclnote"_qs);
    QVERIFY(lines);
    QCOMPARE(lines->value(0).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestSchemaBackends)
#include "tst_schemabackends.moc"
