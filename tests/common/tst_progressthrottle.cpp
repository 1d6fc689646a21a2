// Progress reports thinned out by time: the first and the completing report always pass.

#include "common/progressthrottle.h"

#include <QtTest>

using namespace mv;

class TestProgressThrottle : public QObject
{
    Q_OBJECT
private slots:
    void passesAtMostOnePerInterval();
};

void TestProgressThrottle::passesAtMostOnePerInterval()
{
    qint64 now = 0;
    QList<QPair<int, int>> passed;
    ProgressThrottle throttle(
        [&](int done, int total) {
            passed.append({done, total});
        },
        33, [&] { return now; });
    // (time, done) of a run of 100 steps; reports within 33 ms of the last passed one drop.
    const QList<QPair<qint64, int>> reports{{0, 0},   {1, 10},  {32, 20}, {33, 30},
                                            {40, 40}, {65, 50}, {66, 60}, {70, 100}};
    for (const auto& [time, done] : reports) {
        now = time;
        throttle(done, 100);
    }
    QCOMPARE(passed, (QList<QPair<int, int>>{{0, 100}, {30, 100}, {60, 100}, {100, 100}}));

    // A long run of quick reports passes only a few times.
    passed.clear();
    for (int done = 0; done <= 10000; ++done) {
        now = 100 + done / 100; // 100 ms in all
        throttle(done, 10000);
    }
    QCOMPARE(passed.size(), 4); // at 103, 136 and 169 ms, and the last
    QCOMPARE(passed.last().first, 10000);
}

QTEST_GUILESS_MAIN(TestProgressThrottle)
#include "tst_progressthrottle.moc"
