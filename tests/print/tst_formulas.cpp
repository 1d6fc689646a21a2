// Number format, the trial check and formula evaluation.

#include "common/texts.h"
#include "print/evaluationwatchdog.h"
#include "print/formulas.h"
#include "print/numberformat.h"

#include <QTest>

using namespace mv;

class TestFormulas : public QObject
{
    Q_OBJECT
private slots:
    void formatNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("separators");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 decimals, separators") << 1234.5 << 0 << true << "1,235";
        QTest::newRow("hundreds") << 1234.5 << -2 << false << "1200";
        QTest::newRow("negative half") << -0.125 << 2 << false << "-0.13";
        QTest::newRow("padded") << 2.0 << 3 << false << "2.000";
        QTest::newRow("millions") << 1234567.891 << 2 << true << "1,234,567.89";
        QTest::newRow("negative separators") << -1234567.5 << 1 << true << "-1,234,567.5";
        QTest::newRow("no -0") << -0.001 << 2 << false << "0.00";
        QTest::newRow("zero") << 0.0 << 0 << true << "0";
        QTest::newRow("thousands") << 1500.0 << -3 << true << "2,000";
        QTest::newRow("more digits kept") << 0.5 << 1 << false << "0.5";
    }

    void formatNumber()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(bool, separators);
        QFETCH(QString, text);
        QCOMPARE(FormatNumber(value, decimals, separators), text);
    }

    void trial()
    {
        FormulaEngine engine;
        QCOMPARE(TrialFormula(QStringLiteral("[数量]*[单价]+[数量]")), QStringLiteral(" 5* 5+ 5"));
        QCOMPARE(engine.trial(QStringLiteral("[a]*([B]+2)/[b]")), QStringLiteral("7"));
        // The help label's sample: a number directly before "(" is no multiplication.
        QCOMPARE(engine.trial(QStringLiteral("[第一列]*12(52+13)/(14-3)-[第三列]")), QString());
        // Malformed references end at once with an empty trial.
        QCOMPARE(TrialFormula(QStringLiteral("[数量*2")), QString());
        QCOMPARE(TrialFormula(QStringLiteral("]数量[*2")), QString());
        QCOMPARE(engine.trial(QStringLiteral("]数量[*2")), QString());
        QCOMPARE(engine.trial(QStringLiteral("null")), QString());
        QCOMPARE(engine.trial(QStringLiteral("undefined")), QString());
        QCOMPARE(engine.trial(QStringLiteral("1/0")), QStringLiteral("Infinity"));
    }

    // A formula the trial accepts is computed in the table as in the trial (its references
    // standing for 5 there too); one it refuses gives 0. Formulas that would compute with
    // anything but numbers (and so could loop, or build a string or array of gigabytes
    // inside one native call) are refused.
    void trialAndTableAgree_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("accepted");
        const QList<std::pair<const char*, bool>> formulas{
            {"[数量]*[单价]", true},
            {"[数量]*[单价];", true},
            {"x=[数量]; x*[单价]", true},
            {"var x = [数量]; let y = x + 1;; y * [单价] ;", true},
            {"Math.max([数量], 7) + Math.round(Math.PI) - 0x10 + 1.5e1", true},
            {"[数量] > 1 ? [数量] % 3 : -1", true},
            {"x = 2; x **= [数量]; x", true},
            {"x*[数量]", false},               // read before it is given
            {"var x = [数量]", false},         // no value
            {"[数量]*[单价]);([单价]", false}, // unbalanced
            {"'ab'.repeat(3)", false},
            {"\"x\".repeat(1e9).length", false},
            {"Array(1e9).fill(0).length", false},
            {"new Array(1e9)", false},
            {"/(a+)+b/.test([数量])", false},
            {"[数量] + /(a+)+b/", false},
            {"(() => { while (true) {} })()", false},
            {"f = function () { return 1 }; f()", false},
            {"while (true) x = 1; 2", false},
            {"typeof [数量]", false},
            {"this", false},
            {"Math.max + 1", false},
            {"Math.max.apply(null, 1)", false},
            {"String([数量])", false},
            {"constructor", false},
            {"[数量] // 注释", false},
            {"[数量] <!-- 注释", false},
            {"[数量].toFixed(2)", false},
            {"5..toString()", false},
            {"`${[数量]}`", false},
            {"eval = 1; 2", false},
            {"x = [数量]\n x", false},
        };
        for (const auto& [formula, accepted] : formulas)
            QTest::newRow(formula) << QString::fromUtf8(formula) << accepted;
    }

    void trialAndTableAgree()
    {
        QFETCH(QString, formula);
        QFETCH(bool, accepted);
        FormulaEngine engine(500);
        const QString trial = engine.trial(formula);
        QCOMPARE(!trial.isEmpty(), accepted);
        const QStringList titles{QStringLiteral("数量"), QStringLiteral("单价")};
        const double cell =
            engine.compile(formula, titles).value([](int) { return QStringLiteral("5"); });
        QCOMPARE(cell, accepted ? toNumber(trial) : 0.0);
        // Nothing a formula does outlives its evaluation.
        QCOMPARE(engine.trial(QStringLiteral("x = 1; x")), QStringLiteral("1"));
    }

    void watchdogInterruptsAScript()
    {
        QJSEngine js;
        EvaluationWatchdog watchdog(js);
        watchdog.arm(std::chrono::milliseconds(50));
        js.evaluate(QStringLiteral("while (true) {}"));
        watchdog.disarm();
        QVERIFY(js.isInterrupted());
    }

    void columnValues()
    {
        FormulaEngine engine;
        const QStringList titles{QStringLiteral("数量"), QStringLiteral("单价"),
                                 QStringLiteral("3")};
        QStringList cells;
        auto cell = [&cells](int x) { return cells.value(x - 1); };

        FormulaEngine::Column amount = engine.compile(QStringLiteral("[数量]*[单价]"), titles);
        cells = {QStringLiteral("4"), QStringLiteral("２.５"), QString()};
        QCOMPARE(amount.value(cell), 10.0); // full-width digits count
        cells = {QStringLiteral("4"), QStringLiteral("暂无"), QString()};
        QCOMPARE(amount.value(cell), 0.0); // a cell that is no number gives 0
        // A cell text is a number, never script.
        cells = {QStringLiteral("4"), QStringLiteral("1;globalThis.x=1"), QString()};
        QCOMPARE(amount.value(cell), 4.0);

        // A title that looks like a number is still only a reference.
        FormulaEngine::Column third = engine.compile(QStringLiteral("[3]+[数量]"), titles);
        cells = {QStringLiteral("4"), QString(), QStringLiteral("1")};
        QCOMPARE(third.value(cell), 5.0);
        // Unknown references, results that are no number, and errors give 0.
        QCOMPARE(engine.compile(QStringLiteral("[未印]*2"), titles).value(cell), 0.0);
        QCOMPARE(engine.compile(QStringLiteral("[数量]/0"), titles).value(cell), 0.0);
        QCOMPARE(engine.compile(QStringLiteral("[数量]>1"), titles).value(cell), 0.0);
        QCOMPARE(engine.compile(QStringLiteral("[数量]*("), titles).value(cell), 0.0);
        QCOMPARE(engine.compile(QStringLiteral("-[数量]"), titles).value(cell), -4.0);
    }

    void longColumns()
    {
        // A long column goes to the engine in chunks; each row equals that row taken alone,
        // across chunk borders, for rows with no number and for results that are text.
        FormulaEngine engine;
        const QStringList titles{QStringLiteral("数量"), QStringLiteral("单价")};
        auto text = [](int row, int x) {
            if (x == 1)
                return QString::number(row);
            return row % 3 ? QStringLiteral("1.5") : QStringLiteral("无");
        };
        for (const QString& formula :
             {QStringLiteral("[数量]*2+[单价]"), QStringLiteral("x = [数量]; x % 2 ? x : null"),
              QStringLiteral("[单价]>1")}) {
            FormulaEngine::Column column = engine.compile(formula, titles);
            const QList<double> all = column.values(9000, text);
            QCOMPARE(all.size(), 9000);
            for (int row : {0, 1, 2, 4095, 4096, 4097, 8191, 8192, 8999})
                QCOMPARE(all[row], column.value([&](int x) { return text(row, x); }));
        }
    }
};

QTEST_MAIN(TestFormulas)
#include "tst_formulas.moc"
