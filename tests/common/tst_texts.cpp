// Number reading with full-width forms, number texts and the GBK byte view.

#include "common/texts.h"

#include <QTest>

#include <algorithm>
#include <limits>

using namespace mv;

class TestTexts : public QObject
{
    Q_OBJECT
private slots:
    void toInteger_data();
    void toInteger();
    void toIntegerFromVariant();
    void toNumber_data();
    void toNumber();
    void foldsFullWidthForms();
    void numberTexts();
    void gbkBytesAreCodePage936();
    void compareBytesIsUnsignedAndShorterFirst();
    void chineseOrdersByGbkBytes();
    void upperGbkKeepsDoubleByteCharacters();
};

void TestTexts::toInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();
    QTest::newRow("plain") << QStringLiteral("42") << 42;
    QTest::newRow("decimal truncated") << QStringLiteral("2.9") << 2;
    QTest::newRow("blanks sign and rest") << QStringLiteral("  -12abc") << -12;
    QTest::newRow("no number") << QStringLiteral("abc") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("control blanks and plus") << QStringLiteral("\t\n\v\f\r+7") << 7;
    QTest::newRow("sign then blank") << QStringLiteral("- 5") << 0;
    QTest::newRow("stops at blank") << QStringLiteral("12 34") << 12;
    QTest::newRow("full-width digits") << QStringLiteral("１２３") << 123;
    QTest::newRow("full-width blank and minus") << QStringLiteral("　－４５件") << -45;
    QTest::newRow("full-width mixed") << QStringLiteral("1２3") << 123;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("saturates high") << QStringLiteral("99999999999999999999") << max;
    QTest::newRow("saturates low") << QStringLiteral("-99999999999") << min;
    QTest::newRow("int min exactly") << QStringLiteral("-2147483648") << min;
    QTest::newRow("other blank is no blank") << QStringLiteral("\u00a05") << 0;
}

void TestTexts::toInteger()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(mv::toInteger(text), expected);
    // The SQL function reads UTF-8 directly and must agree with the QString reader.
    const QByteArray utf8 = text.toUtf8();
    QCOMPARE(toIntegerUtf8(utf8.constData(), utf8.size()), expected);
}

void TestTexts::toIntegerFromVariant()
{
    QCOMPARE(mv::toInteger(QVariant(17)), 17);
    QCOMPARE(mv::toInteger(QVariant(qlonglong(5'000'000'000))), std::numeric_limits<int>::max());
    QCOMPARE(mv::toInteger(QVariant(qlonglong(-5'000'000'000))), std::numeric_limits<int>::min());
    QCOMPARE(mv::toInteger(QVariant(2.9)), 2);
    QCOMPARE(mv::toInteger(QVariant(-2.9)), -2);
    QCOMPARE(mv::toInteger(QVariant(2.9f)), 2);
    QCOMPARE(mv::toInteger(QVariant(1e20)), std::numeric_limits<int>::max());
    QCOMPARE(mv::toInteger(QVariant(QStringLiteral("１２件"))), 12);
    QCOMPARE(mv::toInteger(QVariant(QByteArray("34x"))), 34);
    QCOMPARE(mv::toInteger(QVariant(QDate(2010, 1, 5))), 0);
    QCOMPARE(mv::toInteger(QVariant()), 0);
}

void TestTexts::toNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal with unit") << QStringLiteral("3.5kg") << 3.5;
    QTest::newRow("exponent") << QStringLiteral("  -1.5e3x") << -1500.0;
    QTest::newRow("exponent sign") << QStringLiteral("25E-1") << 2.5;
    QTest::newRow("dangling exponent") << QStringLiteral("1e") << 1.0;
    QTest::newRow("dangling exponent sign") << QStringLiteral("7e+") << 7.0;
    QTest::newRow("point first") << QStringLiteral(".5") << 0.5;
    QTest::newRow("point last") << QStringLiteral("5.") << 5.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("lone sign") << QStringLiteral("-") << 0.0;
    QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
    QTest::newRow("full-width") << QStringLiteral("１２．５") << 12.5;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
}

void TestTexts::toNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(mv::toNumber(text), expected);
}

void TestTexts::foldsFullWidthForms()
{
    QCOMPARE(foldFullWidth(QStringLiteral("Ａｚ０９！～")), QStringLiteral("Az09!~"));
    QCOMPARE(foldFullWidth(QStringLiteral("　")), QStringLiteral(" "));
    // The code page places the yuan sign and the macron where ASCII has '$' and '~'.
    QCOMPARE(foldFullWidth(QStringLiteral("￥￣")), QStringLiteral("$~"));
    QCOMPARE(foldFullWidth(QStringLiteral("中文，")), QStringLiteral("中文,"));
}

void TestTexts::numberTexts()
{
    QCOMPARE(singleText(3.14159274f), QStringLiteral("3.14159"));
    QCOMPARE(singleText(100.0f), QStringLiteral("100"));
    QCOMPARE(singleText(1234567.0f), QStringLiteral("1.23457e+06"));
    QCOMPARE(singleText(-0.5f), QStringLiteral("-0.5"));
    QCOMPARE(doubleText(0.1 + 0.2), QStringLiteral("0.3"));
    QCOMPARE(doubleText(1.0 / 3.0), QStringLiteral("0.3333333333333"));
    QCOMPARE(doubleText(12345678901234.0), QStringLiteral("1.234567890123e+13"));
    QCOMPARE(doubleText(40183.0), QStringLiteral("40183"));
}

void TestTexts::gbkBytesAreCodePage936()
{
    QCOMPARE(gbkBytes(QStringLiteral("中")), QByteArray("\xD6\xD0"));
    QCOMPARE(gbkBytes(QStringLiteral("a中b")), QByteArray("a\xD6\xD0"
                                                          "b"));
    QCOMPARE(gbkBytes(QStringLiteral("１")), QByteArray("\xA3\xB1"));
    QCOMPARE(gbkBytes(QStringLiteral("　")), QByteArray("\xA1\xA1"));
    QCOMPARE(gbkBytes(QString()), QByteArray());
    // Characters the code page lacks become one '?' each, also outside the BMP.
    QCOMPARE(gbkBytes(QStringLiteral("a\u0e01b")), QByteArray("a?b"));
    QCOMPARE(gbkBytes(QStringLiteral("x😀")), QByteArray("x?"));
    // Byte lengths count a Chinese character twice.
    QCOMPARE(gbkBytes(QStringLiteral("铝型材6063")).size(), 10);
}

void TestTexts::compareBytesIsUnsignedAndShorterFirst()
{
    QCOMPARE(compareBytes(QByteArray(), QByteArray()), 0);
    QCOMPARE(compareBytes(QByteArray(), QByteArray("a")), -1);
    QCOMPARE(compareBytes(QByteArray("ab"), QByteArray("a")), 1);
    QCOMPARE(compareBytes(QByteArray("abc"), QByteArray("abd")), -1);
    QCOMPARE(compareBytes(QByteArray("\x80"), QByteArray("\x7F")), 1);
    QCOMPARE(compareBytes(QByteArray("B"), QByteArray("a")), -1); // case-sensitive
}

void TestTexts::chineseOrdersByGbkBytes()
{
    // In Unicode 张 < 李 < 王 < 阿; in GBK the order follows pinyin.
    QStringList names = {QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五"),
                         QStringLiteral("阿强")};
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return compareBytes(gbkBytes(a), gbkBytes(b)) < 0;
    });
    const QStringList expected = {QStringLiteral("阿强"), QStringLiteral("李四"),
                                  QStringLiteral("王五"), QStringLiteral("张三")};
    QCOMPARE(names, expected);
    QCOMPARE(compareBytes(gbkBytes(QStringLiteral("玻璃")), gbkBytes(QStringLiteral("玻璃"))), 0);
}

void TestTexts::upperGbkKeepsDoubleByteCharacters()
{
    QCOMPARE(upperGbk(QByteArray("abz{`AZ")), QByteArray("ABZ{`AZ"));
    // 乤 is 0x81 0x61 and 亃 is 0x81 0x7A: their trail bytes look like 'a' and 'z' but
    // belong to the character and must stay.
    const QByteArray mixed = gbkBytes(QStringLiteral("a乤b亃c"));
    QCOMPARE(mixed, QByteArray("a\x81\x61"
                               "b\x81\x7A"
                               "c"));
    QCOMPARE(upperGbk(mixed), QByteArray("A\x81\x61"
                                         "B\x81\x7A"
                                         "C"));
    // A lead byte at the very end has no trail byte to skip.
    QCOMPARE(upperGbk(QByteArray("a\xB0")), QByteArray("A\xB0"));
}

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
