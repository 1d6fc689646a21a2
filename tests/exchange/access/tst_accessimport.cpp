// Reading Access files and importing them: every table of two sample files against mdb-export
// as an independent reader, the mapping onto the program's tables, and the failure paths
// that must leave the Access file untouched.

#include "db/connection.h"
#include "db/datastore.h"
#include "exchange/access/accessfile.h"
#include "exchange/access/accessimport.h"
#include "exchange/access/accesstablecopy.h"
#include "exchange/access/accessvalue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <random>
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

// The import as the program runs it: through the Access reader's process.
AccessImportOptions readerOptions(const QString& charset,
                                  const QHash<QString, QString>& sourceTables = {})
{
    AccessImportOptions options;
    options.jet3Charset = charset;
    options.sourceTables = sourceTables;
    options.readerProgram = QStringLiteral(MORVANE_ACCESS_READER);
    return options;
}

struct CommandLine
{
    int exitCode = -1;
    QString out;
    QString err;
};

// morvane --import-mdb FILE --home HOME, as a user types it.
CommandLine importFromCommandLine(const QString& file, const QString& home)
{
    QProcess process;
    process.start(QStringLiteral(MORVANE_PROGRAM), {u"--import-mdb"_qs, file, u"--home"_qs, home,
                                                    u"--import-charset"_qs, u"CP1252"_qs});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The names left in a directory by an import, its log aside.
QStringList leftIn(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(u"import.log"_qs);
    return names;
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
        QVERIFY(
            db.execute(u"CREATE TABLE o (orderid TEXT, ORDERDATE TEXT, freight TEXT, 备注 TEXT, "
                       "shipregion TEXT)"_qs));
        const auto orders = access.openTable(u"Orders"_qs);
        const TableCopy copy = copyAccessTable(*orders, db, u"o"_qs);
        QVERIFY2(copy.ok(), qPrintable(copy.error));
        QCOMPARE(copy.missingColumns, QStringList{u"备注"_qs});
        QVERIFY(copy.extraColumns.contains(u"ShipName"_qs) &&
                !copy.extraColumns.contains(u"OrderID"_qs));
        const QList<QStringList> expected =
            exported(sample("nwind.mdb"), u"Orders"_qs, u"CP1252"_qs);
        const auto rows = db.query(
            u"SELECT orderid, ORDERDATE, freight, typeof(orderid), 备注, shipregion FROM o "
            "ORDER BY rowid"_qs);
        int empty = 0;
        for (int r = 0; !rows->eof(); rows->next(), ++r) {
            QCOMPARE(rows->field(0), expected[r][0]);
            QCOMPARE(rows->field(1), expected[r][3].left(10));
            QCOMPARE(rows->field(2).toDouble(), expected[r][7].toDouble());
            QVERIFY(!rows->field(2).endsWith(u'0')); // exact decimals, no padding
            QCOMPARE(rows->field(3), u"text"_qs);
            QVERIFY(rows->value(4).isNull());
            // An empty text field is the empty text, as the program stores one.
            QCOMPARE(rows->value(5).isNull(), false);
            QCOMPARE(rows->field(5), expected[r][11]);
            empty += expected[r][11].isEmpty();
        }
        QVERIFY(empty > 0);

        QVERIFY(db.execute(u"CREATE TABLE c (CategoryName TEXT, Picture TEXT)"_qs));
        const auto categories = access.openTable(u"Categories"_qs);
        const TableCopy refused = copyAccessTable(*categories, db, u"c"_qs);
        QVERIFY(!refused.ok());
        QVERIFY2(refused.error.contains(u"Categories"_qs) && refused.error.contains(u"Picture"_qs),
                 qPrintable(refused.error));
    }

    // Single and double numbers land in text columns as plain decimals that read back as the
    // same number: never an exponent, which the stock would count as a small whole number.
    void numbersAsPlainText()
    {
        const auto text = [](AccessValue::Kind kind, double number) {
            AccessValue value;
            value.kind = kind;
            value.number = number;
            QVariant result;
            QString error;
            return convertAccessValue(value, ColumnAffinity::Text, &result, &error)
                       ? result.toString()
                       : error;
        };
        QCOMPARE(text(AccessValue::Single, double(1234567.0f)), u"1234567"_qs);
        QCOMPARE(text(AccessValue::Single, double(1e6f)), u"1000000"_qs);
        QCOMPARE(text(AccessValue::Single, double(12345.67f)), u"12345.67"_qs);
        QCOMPARE(text(AccessValue::Single, double(0.1f)), u"0.1"_qs);
        QCOMPARE(text(AccessValue::Double, 123456789012345.0), u"123456789012345"_qs);
        QCOMPARE(text(AccessValue::Double, -2.5), u"-2.5"_qs);
    }

    // A trial run of the five-table mapping on tables named for it: counts per table, the
    // missing tables and unknown columns in the summary, the first account kept because the
    // file has none, a database that opens, and the Access file as it was.
    void mapsTheProgramTables()
    {
        QTemporaryDir dir;
        const QString file = copyOf(sample("nwind.mdb"), dir.filePath(u"shop.mdb"_qs));
        const QByteArray before = digest(file);
        AccessImportOptions options = readerOptions(
            u"CP1252"_qs, {{u"yclnote"_qs, u"Shippers"_qs}, {u"ycl"_qs, u"categories"_qs}});
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

    // A damaged Access file found as db.mdb: refused naming the table that failed, left in
    // place byte for byte, nothing else left in the directory but the reader's log.
    void damagedFileIsPutBack()
    {
        QTemporaryDir dir;
        const QString database = dir.filePath(u"db.mdb"_qs);
        QFile whole(sample("nwind.mdb"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QByteArray bytes = whole.readAll();
        bytes.replace(451 * 2048, 2048, QByteArray(2048, '\0')); // a data page of Orders
        QFile damaged(database);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(bytes);
        damaged.close();
        QFile::copy(database, dir.filePath(u"db.mdb.access"_qs)); // a name already taken
        const QByteArray before = digest(database);

        const AccessImport import = importAccessFile(
            database, dir.path(), readerOptions(u"CP1252"_qs, {{u"yclnote"_qs, u"Orders"_qs}}));
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(u"Orders"_qs) && import.message.contains(u"损坏"_qs),
                 qPrintable(import.message));
        QCOMPARE(digest(database), before);
        QCOMPARE(leftIn(dir.path()), (QStringList{u"db.mdb"_qs, u"db.mdb.access"_qs}));
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
        const AccessImport import = importAccessFile(file, home, readerOptions(u"GBK"_qs));
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(u"无法"_qs), qPrintable(import.message));
        QVERIFY(!QFile::exists(QDir(home).filePath(u"db.mdb"_qs)));
        QCOMPARE(digest(file), before);

        QCOMPARE(importFromCommandLine(file, home).exitCode, 1);
        QCOMPARE(importFromCommandLine(file, dir.filePath(u"open"_qs)).exitCode, 0);
        QVERIFY(QFile::exists(dir.filePath(u"open/db.mdb"_qs)));
        QFile::setPermissions(dir.filePath(u"locked"_qs), QFileDevice::ReadOwner |
                                                              QFileDevice::WriteOwner |
                                                              QFileDevice::ExeOwner);
    }

    // The file cut short at 200,000 bytes: the reader's complaints about reading beyond the
    // end go to the log, the user reads one plain message and a failing exit code, and
    // nothing is created.
    void readErrorsFailTheCommandLineQuietly()
    {
        QTemporaryDir dir;
        QFile whole(sample("nwind.mdb"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        for (const qint64 size : {qint64(200000), qint64(200704)}) {
            const QString file = dir.filePath(QStringLiteral("cut-%1.mdb").arg(size));
            QFile cut(file);
            QVERIFY(cut.open(QIODevice::WriteOnly));
            whole.seek(0);
            cut.write(whole.read(size));
            cut.close();
            const QString home = dir.filePath(QStringLiteral("home-%1").arg(size));
            const CommandLine run = importFromCommandLine(file, home);
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(u"导入失败"_qs), qPrintable(run.err));
            QVERIFY2(!run.err.contains(u"EOF"_qs) && !run.out.contains(u"EOF"_qs),
                     qPrintable(run.err));
            QCOMPARE(leftIn(home), QStringList());
            if (size % 2048 == 0) { // whole pages: the reader itself found the damage
                QVERIFY2(run.err.contains(u"表目录"_qs), qPrintable(run.err));
                QFile log(importLogPath(home));
                QVERIFY(log.open(QIODevice::ReadOnly));
                QVERIFY(log.readAll().contains("beyond EOF"));
            }
        }
    }

    // 50 damaged copies of the samples (bytes changed where the catalogue and table
    // definitions lie, or anywhere; the file cut short), each found as db.mdb and imported:
    // the program survives every one, db.mdb stays the Access file until the new database is
    // complete, a failure leaves it untouched with a message, an import that goes through
    // keeps it as db.mdb.access, and nothing half-built is left behind.
    void damagedCopiesNeverStrandTheData()
    {
        struct Source
        {
            QString file;
            qsizetype pageSize;
            QString charset;
            QHash<QString, QString> tables;
        };
        const QList<Source> sources = {
            {sample("DateTestDatabase.mdb"), 4096, u"GBK"_qs, {{u"yclnote"_qs, u"DateTest"_qs}}},
            {sample("nwind.mdb"),
             2048,
             u"CP1252"_qs,
             {{u"yclnote"_qs, u"Orders"_qs},
              {u"ycldate"_qs, u"Order Details"_qs},
              {u"ycl"_qs, u"Products"_qs}}}};
        QMap<QString, int> outcomes;
        for (int seed = 1; seed <= 50; ++seed) {
            const Source& source = sources[seed % 2];
            QFile original(source.file);
            QVERIFY(original.open(QIODevice::ReadOnly));
            QByteArray bytes = original.readAll();
            std::mt19937 random(seed);
            const int kind = (seed / 2) % 3;
            // Cut at whole pages, the loss shows only where a page read is needed.
            const bool wholePages = (seed / 6) % 2 == 1;
            if (kind == 0) {
                qsizetype size = qsizetype(random() % (bytes.size() - 4096)) + 1024;
                size = wholePages ? size / 4096 * 4096 : size - (size % 2048 == 0);
                bytes.truncate(size);
            } else {
                // Page 2 defines the catalogue; the first pages hold it and the tables'.
                const qsizetype first = kind == 1 ? 2 * source.pageSize : 0;
                const qsizetype span = kind == 1 ? source.pageSize : 32 * source.pageSize;
                for (int i = 0; i < 8; ++i)
                    bytes[first + qsizetype(random() % span)] = char(random());
            }
            const QString what = QStringLiteral("seed %1").arg(seed);

            QTemporaryDir dir;
            const QString database = dir.filePath(u"db.mdb"_qs);
            QFile copy(database);
            QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size());
            copy.close();
            const QByteArray before = digest(database);
            AccessImportOptions options = readerOptions(source.charset, source.tables);
            options.stallSeconds = 10;
            int replacedEarly = 0;
            options.progress = [&](const QString&, qint64, qint64) {
                if (probeDatabaseFile(database) != DatabaseFileKind::AccessJet ||
                    QFile::exists(dir.filePath(u"db.mdb.access"_qs)))
                    ++replacedEarly;
            };
            const AccessImport import = importAccessFile(database, dir.path(), options);
            QVERIFY2(replacedEarly == 0, qPrintable(what));
            if (import.done) {
                QVERIFY2(kind != 0 || wholePages, qPrintable(what + u": a cut file imported"_qs));
                QCOMPARE(probeDatabaseFile(database), DatabaseFileKind::Sqlite);
                QCOMPARE(digest(dir.filePath(u"db.mdb.access"_qs)), before);
                QCOMPARE(leftIn(dir.path()), (QStringList{u"db.mdb"_qs, u"db.mdb.access"_qs}));
                outcomes[u"imported"_qs]++;
            } else {
                QVERIFY2(!import.message.isEmpty(), qPrintable(what));
                QVERIFY2(importSummaryText(import).startsWith(u"导入失败："_qs), qPrintable(what));
                QCOMPARE(digest(database), before);
                QVERIFY2(leftIn(dir.path()) == QStringList{u"db.mdb"_qs},
                         qPrintable(what + u": "_qs + leftIn(dir.path()).join(u' ')));
                outcomes[import.message.contains(u"异常终止"_qs) ? u"reader crashed"_qs
                                                                 : u"refused"_qs]++;
            }
        }
        qInfo() << "50 damaged copies:" << outcomes;
    }

    // A reader that crashes or stops making progress: the import fails with a message that
    // says so and names the table it was reading, and db.mdb stays the Access file.
    void readerCrashOrStallIsAFailure_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const QString progress = u"echo '{\"progress\":[\"yclnote\",0,9]}'; "_qs;
        QTest::newRow("crash") << progress + u"kill -SEGV $$"_qs << u"读取表 yclnote 时异常终止"_qs;
        QTest::newRow("stall") << progress + u"exec sleep 30"_qs
                               << u"读取表 yclnote 时超过 1 秒"_qs;
        QTest::newRow("silent end") << u"exit 0"_qs << u"读取表目录时意外结束"_qs;
    }
    void readerCrashOrStallIsAFailure()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString reader = dir.filePath(u"reader.sh"_qs);
        QFile file(reader);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString database = copyOf(sample("DateTestDatabase.mdb"), dir.filePath(u"db.mdb"_qs));
        AccessImportOptions options = readerOptions(u"GBK"_qs);
        options.readerProgram = reader;
        options.stallSeconds = 1;
        int waited = 0; // the window showing the import keeps being served meanwhile
        options.waiting = [&waited] { ++waited; };
        const AccessImport import = importAccessFile(database, dir.path(), options);
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(expected), qPrintable(import.message));
        if (QTest::currentDataTag() == QLatin1String("stall"))
            QVERIFY(waited >= 5);
        QCOMPARE(digest(database), digest(sample("DateTestDatabase.mdb")));
        QCOMPARE(leftIn(dir.path()), (QStringList{u"db.mdb"_qs, u"reader.sh"_qs}));
    }

    // Eight bytes changed in a page of the sample send the real reader into an endless loop:
    // it is stopped and the import fails.
    void endlessReaderIsStopped()
    {
        QTemporaryDir dir;
        const QString database = copyOf(sample("DateTestDatabase.mdb"), dir.filePath(u"db.mdb"_qs));
        QFile file(database);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (const auto& [offset, byte] : {std::pair{147540, 243},
                                           {147794, 224},
                                           {147886, 183},
                                           {149236, 199},
                                           {149641, 213},
                                           {150687, 6},
                                           {150703, 146},
                                           {151046, 111}}) {
            file.seek(offset);
            file.putChar(char(byte));
        }
        file.close();
        const QByteArray before = digest(database);
        AccessImportOptions options = readerOptions(u"GBK"_qs, {{u"yclnote"_qs, u"DateTest"_qs}});
        options.stallSeconds = 2;
        const AccessImport import = importAccessFile(database, dir.path(), options);
        QVERIFY(!import.done);
        QVERIFY2(import.message.contains(u"没有进展"_qs), qPrintable(import.message));
        QCOMPARE(digest(database), before);
        QCOMPARE(leftIn(dir.path()), QStringList{u"db.mdb"_qs});
    }

    // An import cut short (the old order renamed the Access file first): at the next start
    // the half-built file goes, the most recently kept Access file is db.mdb again, and until
    // then no new database is created beside it. A running import is left alone.
    void strandedImportIsRecovered()
    {
        QTemporaryDir dir;
        const QString older =
            copyOf(sample("DateTestDatabase.mdb"), dir.filePath(u"db.mdb.access"_qs));
        QTest::qWait(20); // the kept names differ in their status change time
        const QString latest = copyOf(sample("nwind.mdb"), dir.filePath(u"db.mdb.access.1"_qs));
        QFile half(dir.filePath(u"db.mdb.importing-AbC123"_qs));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.close();

        Connection db;
        QString error;
        QVERIFY(!openDataStore(db, dir.path(), {}, &error));
        QVERIFY2(error.contains(u"db.mdb.access.1"_qs), qPrintable(error));
        QVERIFY(!QFile::exists(dir.filePath(u"db.mdb"_qs)));

        {
            QLockFile running(dir.filePath(u"db.mdb.import.lock"_qs));
            QVERIFY(running.tryLock(0));
            QVERIFY(!recoverStrandedImport(dir.path()));
            QVERIFY(half.exists());
        }
        QVERIFY(recoverStrandedImport(dir.path()));
        QCOMPARE(digest(dir.filePath(u"db.mdb"_qs)), digest(sample("nwind.mdb")));
        QCOMPARE(leftIn(dir.path()), (QStringList{u"db.mdb"_qs, u"db.mdb.access"_qs}));
        QCOMPARE(digest(older), digest(sample("DateTestDatabase.mdb")));
        QVERIFY(!recoverStrandedImport(dir.path())); // nothing more to do
    }
};

QTEST_GUILESS_MAIN(TestAccessImport)
#include "tst_accessimport.moc"
