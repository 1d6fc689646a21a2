// Statement builders, quoting helpers and the dialect.

#include "db/builders.h"
#include "db/dialect.h"
#include "support/tempdatastore.h"

#include <QTest>

using namespace mv;

class TestBuilders : public QObject
{
    Q_OBJECT
private slots:
    void selectBuilder();
    void selectOrderWords();
    void updateBuilder();
    void insertBuilder();
    void insertKeepsQuotedCommasAndEquals();
    void valuesAreStoredAsTyped_data();
    void valuesAreStoredAsTyped();
    void quotingHelpers();
    void likePatternMatchesLiterally();
    void compareTextsByGbkBytes();
    void dateLiterals();
};

void TestBuilders::selectBuilder()
{
    QCOMPARE(buildSelect(QStringLiteral("ycldate"), QStringLiteral("出入='入'"),
                         QStringLiteral("单号 ASC")),
             QStringLiteral("SELECT * FROM [ycldate] WHERE 出入='入' ORDER BY 单号 ASC"));
    QCOMPARE(buildSelect(QStringLiteral("yclnote")),
             QStringLiteral("SELECT * FROM [yclnote] WHERE 1=1"));
    // The login statement.
    const QString name = QStringLiteral("张三");
    QCOMPARE(buildSelect(QStringLiteral("user"), QStringLiteral("用户='") + name + u'\''),
             QStringLiteral("SELECT * FROM [user] WHERE 用户='张三'"));
    // Grouping comes before the order, fields replace the star.
    QCOMPARE(buildSelect(QStringLiteral("yclnote"), std::nullopt, QStringLiteral("分类"),
                         QStringLiteral("分类"), QStringLiteral("分类, count(*)")),
             QStringLiteral("SELECT 分类, count(*) FROM [yclnote] WHERE 1=1 GROUP BY 分类 "
                            "ORDER BY 分类"));
    // Present but empty arguments are used as they are.
    QCOMPARE(buildSelect(QStringLiteral("t"), QString(), QString(), QString(), QString()),
             QStringLiteral("SELECT  FROM [t] WHERE  GROUP BY  ORDER BY "));
}

void TestBuilders::selectOrderWords()
{
    QCOMPARE(buildSelect(QStringLiteral("ycl"), std::nullopt, QStringLiteral("编号 降序")),
             QStringLiteral("SELECT * FROM [ycl] WHERE 1=1 ORDER BY 编号 DESC"));
    QCOMPARE(buildSelect(QStringLiteral("ycl"), std::nullopt, QStringLiteral("编号降序")),
             QStringLiteral("SELECT * FROM [ycl] WHERE 1=1 ORDER BY 编号降序"));
    QCOMPARE(buildSelect(QStringLiteral("ycl"), std::nullopt,
                         QStringLiteral("库存分类 升序, 编号 降序")),
             QStringLiteral("SELECT * FROM [ycl] WHERE 1=1 ORDER BY 库存分类 ASC, 编号 DESC"));
}

void TestBuilders::updateBuilder()
{
    QCOMPARE(buildUpdate(QStringLiteral("user"), QStringLiteral("密码='abc'"),
                         QStringLiteral("用户='admin'")),
             QStringLiteral("UPDATE [user] SET 密码='abc' WHERE 用户='admin'"));
    QCOMPARE(buildUpdate(QStringLiteral("ycldate"), QStringLiteral("审核='admin'")),
             QStringLiteral("UPDATE [ycldate] SET 审核='admin'"));
    QCOMPARE(buildUpdate(QStringLiteral("ycldate"), QStringLiteral("审核=''"), QString()),
             QStringLiteral("UPDATE [ycldate] SET 审核='' WHERE "));
}

void TestBuilders::insertBuilder()
{
    const QString number = QStringLiteral("00000001");
    QCOMPARE(buildInsert(QStringLiteral("ycldate"),
                         QStringLiteral("单号='") + number + QStringLiteral("',出入='入'")),
             QStringLiteral("INSERT INTO [ycldate] (单号,出入) VALUES ('00000001','入')"));
    QCOMPARE(buildInsert(QStringLiteral("yclnote"), QStringLiteral("数量='5'")),
             QStringLiteral("INSERT INTO [yclnote] (数量) VALUES ('5')"));
    // A piece without '=' gives its text as a column and an empty value.
    QCOMPARE(buildInsert(QStringLiteral("t"), QStringLiteral("a='1',b")),
             QStringLiteral("INSERT INTO [t] (a,b) VALUES ('1',)"));
    QCOMPARE(buildInsert(QStringLiteral("t"), QString()),
             QStringLiteral("INSERT INTO [t] () VALUES ()"));
}

void TestBuilders::insertKeepsQuotedCommasAndEquals()
{
    QCOMPARE(buildInsert(QStringLiteral("yclnote"), QStringLiteral("备注='a,b=c',数量='5'")),
             QStringLiteral("INSERT INTO [yclnote] (备注,数量) VALUES ('a,b=c','5')"));
    // A doubled quote stays inside its literal, so the comma after it is still protected.
    QCOMPARE(buildInsert(QStringLiteral("yclnote"), QStringLiteral("备注='it''s, ok',型号='x'")),
             QStringLiteral("INSERT INTO [yclnote] (备注,型号) VALUES ('it''s, ok','x')"));
    QCOMPARE(buildInsert(QStringLiteral("t"), QStringLiteral("a='''',b='='")),
             QStringLiteral("INSERT INTO [t] (a,b) VALUES ('''','=')"));
}

void TestBuilders::valuesAreStoredAsTyped_data()
{
    QTest::addColumn<QString>("remark");
    QTest::newRow("comma") << QStringLiteral("左,右");
    QTest::newRow("equals") << QStringLiteral("宽=1200");
    QTest::newRow("quote") << QStringLiteral("5'6\" 玻璃");
    QTest::newRow("everything") << QStringLiteral("a='1',b=2,''");
    QTest::newRow("leading zeros and blanks") << QStringLiteral("  007 ");
    QTest::newRow("empty") << QString();
}

void TestBuilders::valuesAreStoredAsTyped()
{
    QFETCH(QString, remark);
    test::TempDataStore store;
    const QString assignments = QStringLiteral("单据号=") + sqlQuoted(QStringLiteral("00000001")) +
                                QStringLiteral(",备注=") + sqlQuoted(remark) +
                                QStringLiteral(",数量=") + sqlQuoted(QStringLiteral("5"));
    store.exec(buildInsert(QStringLiteral("yclnote"), assignments));
    const auto result = store.connection().query(
        buildSelect(QStringLiteral("yclnote"), QStringLiteral("备注=") + sqlQuoted(remark)));
    QVERIFY(result);
    QVERIFY(!result->eof());
    QCOMPARE(result->field(QStringLiteral("备注")), remark);
    QCOMPARE(result->field(QStringLiteral("数量")), QStringLiteral("5"));
    QCOMPARE(result->field(QStringLiteral("单据号")), QStringLiteral("00000001"));
    result->next();
    QVERIFY(result->eof());
}

void TestBuilders::quotingHelpers()
{
    QCOMPARE(sqlQuoted(QStringLiteral("abc")), QStringLiteral("'abc'"));
    QCOMPARE(sqlQuoted(QStringLiteral("o'clock")), QStringLiteral("'o''clock'"));
    QCOMPARE(sqlQuoted(QString()), QStringLiteral("''"));
    QCOMPARE(sqlEscaped(QStringLiteral("''")), QStringLiteral("''''"));
    QCOMPARE(likeEscaped(QStringLiteral("50%_a\\b'c")), QStringLiteral("50\\%\\_a\\\\b''c"));
}

void TestBuilders::likePatternMatchesLiterally()
{
    test::TempDataStore store;
    for (const QString& name :
         {QStringLiteral("50%折扣"), QStringLiteral("500折扣"), QStringLiteral("a_b"),
          QStringLiteral("axb"), QStringLiteral("他's")})
        store.addLine(name, QString(), QStringLiteral("入库"), QStringLiteral("1"),
                      QStringLiteral("2010-01-05"));
    auto countLike = [&](const QString& part) {
        const auto result = store.connection().query(
            QStringLiteral("SELECT count(*) FROM yclnote WHERE 原材料名字 LIKE '%") +
            likeEscaped(part) + QStringLiteral("%' ESCAPE '\\'"));
        return result ? result->value(0).toInt() : -1;
    };
    QCOMPARE(countLike(QStringLiteral("50%")), 1);
    QCOMPARE(countLike(QStringLiteral("_")), 1);
    QCOMPARE(countLike(QStringLiteral("'")), 1);
    QCOMPARE(countLike(QStringLiteral("折扣")), 2);
}

void TestBuilders::compareTextsByGbkBytes()
{
    QCOMPARE(compareTexts(QStringLiteral("admin"), QStringLiteral("Admin")), 1);
    QCOMPARE(compareTexts(QString(), QStringLiteral("")), 0);
    QCOMPARE(compareTexts(QStringLiteral("阿"), QStringLiteral("张")), -1); // pinyin via GBK
    QCOMPARE(compareTexts(QStringLiteral("是"), QStringLiteral("是 ")), -1);
    // Characters GBK cannot hold are never equal to '?' or to each other.
    QVERIFY(compareTexts(QStringLiteral("ő"), QStringLiteral("?")) != 0);
    QVERIFY(compareTexts(QStringLiteral("ő"), QStringLiteral("ű")) != 0);
    QVERIFY(compareTexts(QStringLiteral("😀"), QStringLiteral("😁")) != 0);
    QCOMPARE(compareTexts(QStringLiteral("pässword"), QStringLiteral("pässword")), 0);
}

void TestBuilders::dateLiterals()
{
    const QDate date(2010, 3, 5);
    QCOMPARE(Dialect(Dialect::Sqlite).dateLiteral(date), QStringLiteral("'2010-03-05'"));
    QCOMPARE(Dialect(Dialect::Postgres).dateLiteral(date), QStringLiteral("'2010-03-05'"));
    QCOMPARE(Dialect().dateValue(date), QStringLiteral("2010-03-05"));
}

QTEST_GUILESS_MAIN(TestBuilders)
#include "tst_builders.moc"
