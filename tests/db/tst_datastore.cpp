// Finding, creating, refusing and upgrading db.mdb, and the demo data set.

#include "common/oledate.h"
#include "common/texts.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "support/tempdatastore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace mv;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int countOf(Connection& db, const QString& sql)
{
    const auto rs = db.query(sql);
    return rs && !rs->eof() ? rs->value(0).toInt() : -1;
}

QByteArray jetHeader(const char* mark)
{
    QByteArray bytes(4, '\0');
    bytes += mark;
    bytes += QByteArray(64, '\0');
    return bytes;
}

const QStringList kIndexes = {
    QStringLiteral("idx_yclnote_item"),    QStringLiteral("idx_yclnote_document"),
    QStringLiteral("idx_yclnote_balance"), QStringLiteral("idx_yclnote_period"),
    QStringLiteral("idx_yclnote_list"),    QStringLiteral("idx_ycldate_document")};

// Every row of the columns with its row id, in stored order, one text per row.
QStringList dump(Connection& db, const QString& table, const QString& columns)
{
    QStringList rows;
    const int count = int(columns.count(u',')) + 2;
    auto rs =
        db.query(u"SELECT rowid, "_qs + columns + u" FROM ["_qs + table + u"] ORDER BY rowid"_qs);
    for (; rs && !rs->eof(); rs->next()) {
        QStringList cells;
        for (int i = 0; i < count; ++i)
            cells.append(rs->value(i).isNull() ? u"NULL"_qs : rs->field(i));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

} // namespace

class TestDataStore : public QObject
{
    Q_OBJECT
private slots:
    void probesFileKinds();
    void createsSchemaAndFirstAccount();
    void reopeningKeepsTheData();
    void refusesAccessFiles_data();
    void refusesAccessFiles();
    void refusesUnknownFiles();
    void upgradeAddsIndexes();
    void upgradeFromVersion2KeepsEveryRow();
    void resolvesTheDataDirectory();
    void demoDataIsConsistent();
    void demoDataOnlyOnCreation();
};

void TestDataStore::probesFileKinds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x"));
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::Missing);
    writeFile(path, QByteArray());
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::Missing);
    writeFile(path, jetHeader("Standard Jet DB"));
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::AccessJet);
    writeFile(path, jetHeader("Standard ACE DB"));
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::AccessJet);
    writeFile(path, QByteArray("Standard Jet DB at the wrong place"));
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::Unknown);
    writeFile(path, QByteArray("SQLite format 3\0rest", 20));
    QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::Sqlite);
    QCOMPARE(probeDatabaseFile(dir.path()), DatabaseFileKind::Unreadable);
    if (geteuid() != 0) {
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QCOMPARE(probeDatabaseFile(path), DatabaseFileKind::Unreadable);
    }
}

void TestDataStore::createsSchemaAndFirstAccount()
{
    test::TempDataStore store;
    QVERIFY(store.isValid());
    Connection& db = store.connection();
    QCOMPARE(probeDatabaseFile(store.databasePath()), DatabaseFileKind::Sqlite);
    QCOMPARE(schemaVersion(db), kSchemaVersion);

    const auto user = db.query(QStringLiteral("select * from user  ORDER  BY 编号"));
    QVERIFY(user);
    QCOMPARE(user->field(QStringLiteral("编号")), QStringLiteral("1"));
    QCOMPARE(user->field(QStringLiteral("用户")), QStringLiteral("admin"));
    QCOMPARE(user->field(QStringLiteral("密码")), QStringLiteral("admin"));
    QCOMPARE(user->field(QStringLiteral("ycl审核")), QStringLiteral("是"));
    QCOMPARE(user->field(QStringLiteral("数据操作")), QStringLiteral("是"));
    user->next();
    QVERIFY(user->eof());

    // Every column the program names exists (a missing one would fail the statement).
    QVERIFY(db.query(QStringLiteral("SELECT 单号, 出入, 审核 FROM [ycldate]")));
    QVERIFY(
        db.query(QStringLiteral("SELECT 单据号, 正负, 日期, 分类, 原材料名字, 型号, 单位, 数量, "
                                "单价, 供应单位, 制单人, 备注 FROM [yclnote]")));
    QVERIFY(db.query(QStringLiteral("SELECT 编号, 库存分类, 原材料名字, 规格, 单位 FROM [ycl]")));
    QVERIFY(db.query(QStringLiteral("SELECT x, y FROM [date]")));
    for (const QString& index : kIndexes) {
        QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                            "type='index' AND name='%1'")
                                 .arg(index)),
                 1);
    }
    // ycl.编号 is a number; the text columns keep texts as they are.
    store.exec(QStringLiteral("INSERT INTO ycl (库存分类) VALUES ('玻璃')"));
    const auto ycl = db.query(QStringLiteral("SELECT 编号 FROM ycl"));
    QVERIFY(ycl);
    QCOMPARE(ycl->value(0).typeId(), int(QMetaType::LongLong));
    store.addLine(QStringLiteral("玻璃"), QStringLiteral("6mm"), QStringLiteral("入库"),
                  QStringLiteral("0012"), QStringLiteral("2010-01-05"));
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM yclnote WHERE 数量='0012'")), 1);
}

void TestDataStore::reopeningKeepsTheData()
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("nested/home"));
    {
        Connection db;
        QString error;
        QVERIFY2(openDataStore(db, home, {}, &error), qPrintable(error));
        QVERIFY(db.execute(QStringLiteral("UPDATE [user] SET 密码='secret'")));
    }
    Connection db;
    QVERIFY(openDataStore(db, home));
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM [user]")), 1);
    const auto user = db.query(QStringLiteral("SELECT 密码 FROM [user]"));
    QVERIFY(user);
    QCOMPARE(user->field(0), QStringLiteral("secret"));
}

void TestDataStore::refusesAccessFiles_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("jet") << jetHeader("Standard Jet DB");
    QTest::newRow("ace") << jetHeader("Standard ACE DB");
}

void TestDataStore::refusesAccessFiles()
{
    QFETCH(QByteArray, header);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.mdb"));
    writeFile(path, header);
    Connection db;
    QString error;
    QVERIFY(!openDataStore(db, dir.path(), {}, &error));
    QCOMPARE(error, QStringLiteral("数据库文件 ") + QDir::toNativeSeparators(path) +
                        QStringLiteral(" 是 Access 格式，需要先导入才能使用。"));
    QVERIFY(!db.isOpen());
    QCOMPARE(readFile(path), header); // not touched
}

void TestDataStore::refusesUnknownFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.mdb"));
    const QByteArray content("这不是数据库");
    writeFile(path, content);
    Connection db;
    QString error;
    QVERIFY(!openDataStore(db, dir.path(), {}, &error));
    QVERIFY(error.contains(QDir::toNativeSeparators(path)));
    QVERIFY(!db.isOpen());
    QCOMPARE(readFile(path), content);

    // A damaged SQLite file (valid header, garbage after it) is refused, not half-used.
    QByteArray damaged("SQLite format 3\0", 16);
    damaged += QByteArray(4080, '\xEE');
    writeFile(path, damaged);
    QVERIFY(!openDataStore(db, dir.path(), {}, &error));
    QVERIFY2(error.contains(QStringLiteral("已损坏")), qPrintable(error));
    QVERIFY(error.contains(QDir::toNativeSeparators(path)));
}

void TestDataStore::upgradeAddsIndexes()
{
    QTemporaryDir dir;
    {
        // An older file: the tables and data, no indexes, no version.
        Connection old;
        QVERIFY(old.openSqlite(dir.filePath(QStringLiteral("db.mdb"))));
        QVERIFY(old.execute(QStringLiteral("CREATE TABLE [user] (编号 INTEGER PRIMARY KEY, 用户 "
                                           "TEXT, 密码 TEXT, ycl审核 TEXT, 数据操作 TEXT)")));
        QVERIFY(
            old.execute(QStringLiteral("INSERT INTO [user] VALUES (3, 'boss', 'pw', '是', '')")));
        QVERIFY(
            old.execute(QStringLiteral("CREATE TABLE yclnote (单据号 TEXT, 正负 TEXT, 日期 TEXT, "
                                       "分类 TEXT, 原材料名字 TEXT, 型号 TEXT, 单位 TEXT, 数量 "
                                       "TEXT, 单价 TEXT, 供应单位 TEXT, 制单人 TEXT, 备注 TEXT)")));
        QCOMPARE(schemaVersion(old), 0);
    }
    Connection db;
    QString error;
    QVERIFY2(openDataStore(db, dir.path(), {}, &error), qPrintable(error));
    QCOMPARE(schemaVersion(db), kSchemaVersion);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' "
                                        "AND name LIKE 'idx_%'")),
             int(kIndexes.size()));
    // The existing account stays the only one: an upgrade adds no first account.
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM [user]")), 1);
    QCOMPARE(countOf(db, QStringLiteral("SELECT 编号 FROM [user]")), 3);
    QVERIFY(db.query(QStringLiteral("SELECT * FROM ycldate")));
}

void TestDataStore::upgradeFromVersion2KeepsEveryRow()
{
    QTemporaryDir dir;
    const QString noteColumns = u"单据号, 正负, 日期, 分类, 原材料名字, 型号, 单位, 数量, 单价, "
                                "供应单位, 制单人, 备注, 旧标记"_qs;
    const QString itemColumns = u"编号, 库存分类, 原材料名字, 规格, 单位"_qs;
    QStringList notes, items, users;
    {
        // A version-2 file: case-sensitive item columns, an extra column of its own, row ids
        // with gaps.
        Connection old;
        QVERIFY(old.openSqlite(dir.filePath(u"db.mdb"_qs)));
        for (const QString& sql :
             {u"CREATE TABLE [user] (编号 INTEGER PRIMARY KEY, 用户 TEXT, 密码 TEXT, ycl审核 TEXT, "
              "数据操作 TEXT)"_qs,
              u"CREATE TABLE [ycldate] (单号 TEXT, 出入 TEXT, 审核 TEXT)"_qs,
              u"CREATE TABLE [yclnote] (单据号 TEXT, 正负 TEXT, 日期 TEXT, 分类 TEXT, 原材料名字 "
              "TEXT, 型号 TEXT, 单位 TEXT, 数量 TEXT, 单价 TEXT, 供应单位 TEXT, 制单人 TEXT, 备注 "
              "TEXT, 旧标记 TEXT)"_qs,
              u"CREATE TABLE [ycl] (编号 INTEGER PRIMARY KEY, 库存分类 TEXT, 原材料名字 TEXT, "
              "规格 TEXT, 单位 TEXT)"_qs,
              u"CREATE TABLE [date] (x TEXT, y TEXT)"_qs,
              u"CREATE INDEX idx_yclnote_item ON yclnote (原材料名字, 型号)"_qs,
              u"INSERT INTO [user] VALUES (3, 'Boss', 'Pw', '是', '')"_qs,
              u"INSERT INTO yclnote VALUES ('00000001', '入库', '2010-01-05', '铝材', '角铝', "
              "'ZS-01', '支', '10', '2.5', '甲', 'Boss', 'a,b=c', 'x')"_qs,
              u"INSERT INTO yclnote (正负, 原材料名字, 型号, 数量) VALUES ('出库', '角铝', "
              "'zs-01', '4')"_qs,
              u"INSERT INTO yclnote (正负, 原材料名字, 型号) VALUES ('出库', '玻璃', NULL)"_qs,
              u"INSERT INTO yclnote (正负, 分类, 原材料名字, 型号, 数量) VALUES ('入库', "
              "'Glass', '玻璃', '5mm', '８')"_qs,
              u"DELETE FROM yclnote WHERE 原材料名字='玻璃' AND 型号 IS NULL"_qs,
              u"INSERT INTO yclnote (正负, 原材料名字, 型号, 数量) VALUES ('入库', '角铝', "
              "'Zs-01', '3')"_qs,
              u"INSERT INTO ycl VALUES (7, '型材', '角铝', 'ZS-01', '支')"_qs,
              u"INSERT INTO ycl VALUES (3, '辅料', '玻璃', '5mm', '块')"_qs,
              u"PRAGMA user_version = 2"_qs})
            QVERIFY2(old.execute(sql), qPrintable(sql + u": "_qs + old.lastError()));
        notes = dump(old, u"yclnote"_qs, noteColumns);
        items = dump(old, u"ycl"_qs, itemColumns);
        users = dump(old, u"user"_qs, u"用户, 密码"_qs);
        QCOMPARE(notes.size(), 4);
        QCOMPARE(countOf(old, u"SELECT count(*) FROM yclnote WHERE 型号='zs-01'"_qs), 1);
    }
    Connection db;
    QString error;
    QVERIFY2(openDataStore(db, dir.path(), {}, &error), qPrintable(error));
    QCOMPARE(schemaVersion(db), 3);
    QCOMPARE(dump(db, u"yclnote"_qs, noteColumns), notes);
    QCOMPARE(dump(db, u"ycl"_qs, itemColumns), items);
    QCOMPARE(dump(db, u"user"_qs, u"用户, 密码"_qs), users);
    QCOMPARE(countOf(db, u"SELECT count(*) FROM sqlite_master WHERE name LIKE '%_rebuilt'"_qs), 0);
    for (const QString& index : kIndexes)
        QCOMPARE(countOf(db, u"SELECT count(*) FROM sqlite_master WHERE name='%1'"_qs.arg(index)),
                 1);

    // The item columns now compare case-blind, through their indexes too; names do not.
    QCOMPARE(
        countOf(db, u"SELECT count(*) FROM yclnote WHERE 原材料名字='角铝' AND 型号='zs-01'"_qs),
        3);
    QCOMPARE(countOf(db, u"SELECT count(*) FROM yclnote GROUP BY 分类 HAVING 分类='GLASS'"_qs), 1);
    QCOMPARE(countOf(db, u"SELECT count(*) FROM ycl WHERE 规格='Zs-01'"_qs), 1);
    QCOMPARE(countOf(db, u"SELECT count(*) FROM [user] WHERE 用户='boss'"_qs), 0);
    QCOMPARE(countOf(db, u"SELECT count(*) FROM [user] WHERE 用户='Boss' AND 密码='pw'"_qs), 0);

    // A second start finds nothing more to do.
    db.close();
    QVERIFY(openDataStore(db, dir.path(), {}, &error));
    QCOMPARE(dump(db, u"yclnote"_qs, noteColumns), notes);
}

void TestDataStore::resolvesTheDataDirectory()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program));
    const QByteArray saved = qgetenv("MORVANE_HOME");
    qunsetenv("MORVANE_HOME");

    QCOMPARE(resolveDataDirectory(dir.filePath(QStringLiteral("opt")), program),
             dir.filePath(QStringLiteral("opt")));
    QCOMPARE(resolveDataDirectory(QString(), program), program);
    qputenv("MORVANE_HOME", dir.filePath(QStringLiteral("env")).toUtf8());
    QCOMPARE(resolveDataDirectory(QString(), program), dir.filePath(QStringLiteral("env")));
    QCOMPARE(resolveDataDirectory(dir.filePath(QStringLiteral("opt")), program),
             dir.filePath(QStringLiteral("opt")));
    qunsetenv("MORVANE_HOME");

    // A program directory nobody can write to (not even root) without db.mdb: the per-user
    // data directory.
    if (QFileInfo(QStringLiteral("/proc/self")).isDir())
        QCOMPARE(resolveDataDirectory(QString(), QStringLiteral("/proc/self")),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));

    // A build directory never holds the data, not even the db.mdb an older version left there.
    const QString build = dir.filePath(QStringLiteral("build"));
    QVERIFY(QDir().mkpath(build));
    writeFile(QDir(build).filePath(QStringLiteral("CMakeCache.txt")), "# cache");
    writeFile(QDir(build).filePath(QStringLiteral("db.mdb")), QByteArray());
    QCOMPARE(resolveDataDirectory(QString(), build),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));

    if (geteuid() != 0) {
        // A read-only program directory is used only when it already holds db.mdb.
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(resolveDataDirectory(QString(), program) != program);
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        writeFile(QDir(program).filePath(QStringLiteral("db.mdb")), QByteArray());
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QCOMPARE(resolveDataDirectory(QString(), program), program);
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
    }
    if (!saved.isNull())
        qputenv("MORVANE_HOME", saved);
}

void TestDataStore::demoDataIsConsistent()
{
    const QDate today(2024, 6, 30);
    setClockForTests(QDateTime(today, QTime(12, 0)));
    OpenOptions options;
    options.demoData = true;
    test::TempDataStore store(options);
    setClockForTests(QDateTime());
    Connection& db = store.connection();

    QCOMPARE(
        countOf(db, QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT 原材料名字, 型号 FROM "
                                   "yclnote)")),
        40);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(DISTINCT 分类) FROM yclnote")), 5);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(DISTINCT 供应单位) FROM yclnote WHERE "
                                        "正负='入库'")),
             6);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(DISTINCT 供应单位) FROM yclnote WHERE "
                                        "正负='出库'")),
             4);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM [date] WHERE y='出库项目'")), 4);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM ycl")), 40);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM yclnote WHERE 正负='入库' AND "
                                        "(单价 IS NULL OR 单价='')")),
             0);
    QVERIFY(countOf(db, QStringLiteral("SELECT count(*) FROM ycldate WHERE 出入='出' AND "
                                       "审核='admin'")) > 0);
    QVERIFY(countOf(db, QStringLiteral("SELECT count(*) FROM ycldate WHERE 出入='出' AND "
                                       "审核 IS NULL")) > 0);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM yclnote WHERE 制单人<>'admin'")), 0);

    // Every line has its header and the numbers of each direction run 00000001, 00000002, ...
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM yclnote n WHERE NOT EXISTS (SELECT 1 "
                                        "FROM ycldate d WHERE d.单号=n.单据号 AND d.出入 || '库' = "
                                        "n.正负)")),
             0);
    for (const QString& direction : {QStringLiteral("入"), QStringLiteral("出")}) {
        const auto headers =
            db.query(QStringLiteral("SELECT 单号 FROM ycldate WHERE 出入='%1' ORDER BY 单号")
                         .arg(direction));
        QVERIFY(headers);
        int expected = 0;
        for (; !headers->eof(); headers->next())
            QCOMPARE(headers->field(0), QString::asprintf("%08d", ++expected));
        QVERIFY(expected > 10);
    }

    // Three months ending today, as ISO dates; the stock of no item ever goes below zero
    // (receipts of a day count first: 入库 sorts before 出库).
    const auto lines = db.query(QStringLiteral("SELECT 原材料名字, 型号, 正负, 数量, 日期 FROM "
                                               "yclnote ORDER BY 日期, 正负"));
    QVERIFY(lines);
    QHash<QString, int> balance;
    QString first;
    QString last;
    for (; !lines->eof(); lines->next()) {
        const QString date = lines->field(4);
        QCOMPARE(textToDate(date), toOleDate(QDate::fromString(date, Qt::ISODate)));
        if (first.isEmpty())
            first = date;
        last = date;
        const QString key = lines->field(0) + u'|' + lines->field(1);
        const int quantity = toInteger(lines->field(3));
        QVERIFY(quantity > 0);
        balance[key] += lines->field(2) == QStringLiteral("入库") ? quantity : -quantity;
        QVERIFY2(balance[key] >= 0, qPrintable(key + u' ' + date));
    }
    QCOMPARE(first, today.addMonths(-3).toString(Qt::ISODate));
    QVERIFY(last <= today.toString(Qt::ISODate) && last >= today.addDays(-2).toString(Qt::ISODate));
}

void TestDataStore::demoDataOnlyOnCreation()
{
    test::TempDataStore store;
    QCOMPARE(countOf(store.connection(), QStringLiteral("SELECT count(*) FROM yclnote")), 0);
    Connection again;
    OpenOptions options;
    options.demoData = true;
    store.connection().close();
    QVERIFY(openDataStore(again, store.directory(), options));
    QCOMPARE(countOf(again, QStringLiteral("SELECT count(*) FROM yclnote")), 0);
}

QTEST_GUILESS_MAIN(TestDataStore)
#include "tst_datastore.moc"
