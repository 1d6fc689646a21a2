// Reading Access files and importing them: every table of two sample files against mdb-export
// as an independent reader, the mapping onto the program's tables, and the failure paths
// that must leave the Access file untouched.

#include "app/commandlineimport.h"
#include "app/options.h"
#include "data/accessfile.h"
#include "data/accessimport.h"
#include "data/accesstablecopy.h"
#include "data/connection.h"
#include "data/datastore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace mv;

namespace {

QString sample(const char* name)
{
    const QString path = QStringLiteral(MORVANE_ACCESS_SAMPLES "/") + QLatin1String(name);
    return QFileInfo::exists(path) ? path : QString();
}

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A writable copy of a sample file.
QString copyOf(const QString& source, const QString& target)
{
    QFile::copy(source, target);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// mdb-export's CSV (quote ", doubled inside), dates as yyyy-MM-dd HH:mm:ss.
QList<QStringList> exported(const QString& file, const QString& table, const QString& charset)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MDB_JET3_CHARSET"), charset);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("mdb-export"),
                  {QStringLiteral("-H"), QStringLiteral("-b"), QStringLiteral("strip"),
                   QStringLiteral("-D"), QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-T"),
                   QStringLiteral("%Y-%m-%d %H:%M:%S"), file, table});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\n') {
            row.append(field);
            rows.append(row);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

QString storedText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

class TestAccessImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty())
            QFAIL("mdb-export (Debian package mdbtools) is needed as the independent reader");
        QVERIFY2(!sample("nwind.mdb").isEmpty(), "sample Access files not found");
    }

    // Every table of both samples into SQLite tables created with the same columns: row
    // counts, every text and whole number as mdb-export reads them, dates as dates.
    void copiesEveryTableLikeAnIndependentReader_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("charset");
        QTest::addColumn<int>("jet");
        QTest::newRow("Jet 3, Windows-1252") << sample("nwind.mdb") << u"CP1252"_qs << 3;
        QTest::newRow("Jet 4") << sample("DateTestDatabase.mdb") << u"GBK"_qs << 4;
    }
    void copiesEveryTableLikeAnIndependentReader()
    {
        QFETCH(QString, file);
        QFETCH(QString, charset);
        QFETCH(int, jet);
        QTemporaryDir dir;
        AccessFile access;
        QString error;
        QVERIFY2(access.open(file, charset, &error), qPrintable(error));
        QCOMPARE(access.jetVersion(), jet);
        Connection db;
        QVERIFY(db.openSqlite(dir.filePath(u"copy.db"_qs)));
        Transaction transaction(db);
        int compared = 0;
        for (const QString& table : access.tableNames()) {
            const auto source = access.openTable(table, &error);
            QVERIFY2(source, qPrintable(error));
            const TableCopy copy = copyAccessTable(*source, db, table);
            QVERIFY2(copy.ok(), qPrintable(copy.error));
            QVERIFY(copy.extraColumns.isEmpty() && copy.missingColumns.isEmpty());
            const QList<QStringList> expected = exported(file, table, charset);
            QCOMPARE(copy.rowsRead, qint64(expected.size()));
            QCOMPARE(copy.rowsWritten, copy.rowsRead);

            const QList<AccessColumn> columns = source->columns();
            const auto rows = db.query(u"SELECT * FROM \""_qs + table + u"\" ORDER BY rowid"_qs);
            QVERIFY2(rows, qPrintable(db.lastError()));
            for (int r = 0; !rows->eof(); rows->next(), ++r) {
                for (int c = 0; c < columns.size(); ++c) {
                    const QString mine = storedText(rows->value(c));
                    QString theirs = expected[r].value(c);
                    const auto where = [&] {
                        return QStringLiteral("%1 row %2 column %3")
                            .arg(table)
                            .arg(r)
                            .arg(columns[c].name);
                    };
                    switch (columns[c].kind) {
                    case AccessValue::Text:
                    case AccessValue::Integer:
                        QVERIFY2(mine == theirs,
                                 qPrintable(where() + u": "_qs + mine + u" / "_qs + theirs));
                        ++compared;
                        break;
                    case AccessValue::Decimal:
                        QVERIFY2(mine.toDouble() == theirs.toDouble(), qPrintable(where()));
                        break;
                    case AccessValue::Date:
                        // mdbtools' own formatter cannot show dates before 1900 or after 9998.
                        if (theirs.startsWith(u"1900-01-00"_qs))
                            break;
                        if (theirs.endsWith(u" 00:00:00"_qs))
                            theirs.chop(9);
                        QVERIFY2(mine == theirs,
                                 qPrintable(where() + u": "_qs + mine + u" / "_qs + theirs));
                        break;
                    default:
                        break;
                    }
                }
            }
        }
        QVERIFY(compared > 0);
    }

    // The dates mdbtools' formatter gets wrong, and the table name that only the right
    // code page reads.
    void readsDatesAndCodePages()
    {
        QTemporaryDir dir;
        AccessFile access;
        QVERIFY(access.open(sample("DateTestDatabase.mdb"), u"GBK"_qs));
        Connection db;
        QVERIFY(db.openSqlite(dir.filePath(u"dates.db"_qs)));
        const auto source = access.openTable(u"DateTest"_qs);
        QVERIFY(source && copyAccessTable(*source, db, u"DateTest"_qs).ok());
        const auto rows = db.query(u"SELECT DateTimeCol, TimeCol FROM DateTest WHERE IDCol = 2 "
                                   u"OR IDCol = 3 ORDER BY IDCol"_qs);
        QVERIFY(rows && !rows->eof());
        QCOMPARE(rows->field(0), u"9999-01-01"_qs);
        rows->next();
        QCOMPARE(rows->field(1), u"1900-01-01"_qs);

        AccessFile jet3;
        QVERIFY(jet3.open(sample("nwind.mdb"), u"CP1252"_qs));
        QVERIFY(jet3.tableNames().contains(u"Umsätze"_qs));
        QVERIFY(jet3.open(sample("nwind.mdb"), u"GBK"_qs)); // the default for this program's users
        QVERIFY(!jet3.tableNames().contains(u"Umsätze"_qs));
        QString error;
        QVERIFY(!jet3.open(sample("nwind.mdb"), u"NO-SUCH-CHARSET"_qs, &error));
        QVERIFY(error.contains(u"NO-SUCH-CHARSET"_qs));
    }

    // Into an existing table: names matched regardless of case, values in the declared
    // types, unknown columns reported, a value with no faithful form refused by name.
    void convertsIntoDeclaredColumns()
    {
        QTemporaryDir dir;
        AccessFile access;
        QVERIFY(access.open(sample("nwind.mdb"), u"CP1252"_qs));
        Connection db;
        QVERIFY(db.openSqlite(dir.filePath(u"typed.db"_qs)));
        Transaction transaction(db);
        QVERIFY(db.execute(
            u"CREATE TABLE o (orderid TEXT, ORDERDATE TEXT, freight TEXT, 备注 TEXT)"_qs));
        const auto orders = access.openTable(u"Orders"_qs);
        const TableCopy copy = copyAccessTable(*orders, db, u"o"_qs);
        QVERIFY2(copy.ok(), qPrintable(copy.error));
        QCOMPARE(copy.missingColumns, QStringList{u"备注"_qs});
        QVERIFY(copy.extraColumns.contains(u"ShipName"_qs) &&
                !copy.extraColumns.contains(u"OrderID"_qs));
        const QList<QStringList> expected =
            exported(sample("nwind.mdb"), u"Orders"_qs, u"CP1252"_qs);
        const auto rows = db.query(
            u"SELECT orderid, ORDERDATE, freight, typeof(orderid), 备注 FROM o ORDER BY rowid"_qs);
        for (int r = 0; !rows->eof(); rows->next(), ++r) {
            QCOMPARE(rows->field(0), expected[r][0]);
            QCOMPARE(rows->field(1), expected[r][3].left(10));
            QCOMPARE(rows->field(2).toDouble(), expected[r][7].toDouble());
            QVERIFY(!rows->field(2).endsWith(u'0')); // exact decimals, no padding
            QCOMPARE(rows->field(3), u"text"_qs);
            QVERIFY(rows->value(4).isNull());
        }

        QVERIFY(db.execute(u"CREATE TABLE c (CategoryName TEXT, Picture TEXT)"_qs));
        const auto categories = access.openTable(u"Categories"_qs);
        const TableCopy refused = copyAccessTable(*categories, db, u"c"_qs);
        QVERIFY(!refused.ok());
        QVERIFY2(refused.error.contains(u"Categories"_qs) && refused.error.contains(u"Picture"_qs),
                 qPrintable(refused.error));
    }

    // A trial run of the five-table mapping on tables named for it: counts per table, the
    // missing tables and unknown columns in the summary, the first account kept because the
    // file has none, a database that opens, and the Access file as it was.
    void mapsTheProgramTables()
    {
        QTemporaryDir dir;
        const QString file = copyOf(sample("nwind.mdb"), dir.filePath(u"shop.mdb"_qs));
        const QByteArray before = digest(file);
        AccessImportOptions options;
        options.jet3Charset = u"CP1252"_qs;
        options.sourceTables = {{u"yclnote"_qs, u"Shippers"_qs}, {u"ycl"_qs, u"categories"_qs}};
        QStringList progress;
        options.progress = [&](const QString& table, qint64 rows, qint64 total) {
            progress.append(QStringLiteral("%1 %2/%3").arg(table).arg(rows).arg(total));
        };
        const QString home = dir.filePath(u"home"_qs);
        const AccessImport import = importAccessFile(file, home, options);
        QVERIFY2(import.done, qPrintable(import.message));
        QCOMPARE(digest(file), before);
        QCOMPARE(progress.last(), u"ycl 8/8"_qs);
        QCOMPARE(QDir(home).entryList(QDir::Files), QStringList{u"db.mdb"_qs});

        const QString summary = importSummaryText(import);
        QVERIFY2(summary.contains(u"表 yclnote：读取 3 行，写入 3 行"_qs), qPrintable(summary));
        QVERIFY(summary.contains(u"表 ycl：读取 8 行，写入 8 行"_qs));
        QVERIFY(summary.contains(u"Access 文件中没有的表：user、ycldate、date"_qs));
        QVERIFY(summary.contains(u"yclnote.CompanyName"_qs) && summary.contains(u"admin"_qs));

        Connection db;
        QString error;
        QVERIFY2(openDataStore(db, home, {}, &error), qPrintable(error));
        QCOMPARE(schemaVersion(db), kSchemaVersion);
        const auto counts = db.query(u"SELECT (SELECT count(*) FROM yclnote), (SELECT max(编号) "
                                     u"FROM ycl), (SELECT 用户 FROM [user])"_qs);
        QCOMPARE(counts->value(0).toInt(), 3);
        QCOMPARE(counts->value(1).toInt(), 8);
        QCOMPARE(counts->field(2), u"admin"_qs);
        db.close();

        // Another import into the same directory would overwrite the new database: refused.
        const AccessImport again = importAccessFile(file, home, options);
        QVERIFY(!again.done && again.message.contains(u"db.mdb"_qs));
        QCOMPARE(digest(file), before);
    }

    // A damaged Access file found as db.mdb: renamed aside, refused, put back byte for byte,
    // nothing else left in the directory.
    void damagedFileIsPutBack()
    {
        QTemporaryDir dir;
        const QString database = dir.filePath(u"db.mdb"_qs);
        QFile whole(sample("nwind.mdb"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QFile truncated(database);
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        truncated.write(whole.read(1000000));
        truncated.close();
        QFile::copy(database, dir.filePath(u"db.mdb.access"_qs)); // a name already taken
        const QByteArray before = digest(database);

        const AccessImport import = importAccessFile(
            database, dir.path(), {u"CP1252"_qs, {{u"yclnote"_qs, u"Orders"_qs}}, {}});
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(u"损坏"_qs), qPrintable(import.message));
        QCOMPARE(digest(database), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{u"db.mdb"_qs, u"db.mdb.access"_qs}));
        QVERIFY(importSummaryText(import).contains(u"Access 文件未作任何改动"_qs));
    }

    // A data directory that cannot be written: refused with a message, nothing changed; from
    // the command line the exit code says so.
    void unwritableDirectoryIsRefused()
    {
        QTemporaryDir dir;
        const QString file = copyOf(sample("DateTestDatabase.mdb"), dir.filePath(u"a.mdb"_qs));
        const QByteArray before = digest(file);
        QString home = dir.filePath(u"locked"_qs);
        QDir().mkpath(home);
        QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (geteuid() == 0)
            home = u"/proc/self"_qs; // root writes anywhere else
        const AccessImport import = importAccessFile(file, home);
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(u"无法"_qs), qPrintable(import.message));
        QVERIFY(!QFile::exists(QDir(home).filePath(u"db.mdb"_qs)));
        QCOMPARE(digest(file), before);

        ProgramOptions options;
        options.importFile = file;
        QCOMPARE(runCommandLineImport(options, home), 1);
        QCOMPARE(runCommandLineImport(options, dir.filePath(u"open"_qs)), 0);
        QVERIFY(QFile::exists(dir.filePath(u"open/db.mdb"_qs)));
        QFile::setPermissions(dir.filePath(u"locked"_qs), QFileDevice::ReadOwner |
                                                              QFileDevice::WriteOwner |
                                                              QFileDevice::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestAccessImport)
#include "tst_accessimport.moc"
