#pragma once
// What the document and server benchmarks share: printing a line, the best of several timed
// runs, the program-against-bare line with PASS/FAIL, and stepping through a bare statement.

#include "db/connection.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <functional>

namespace mv::bench {

inline void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// The best of runs, in seconds; prepare runs untimed before each.
inline double bestOf(int runs, const std::function<void()>& prepare,
                     const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// Program figures against bare ones, each ratio against its limit. A missed limit counts
// only while enforce is set (full-size runs).
struct Comparison
{
    bool enforce = true;
    bool missed = false;

    void report(const QString& label, double program, double bare, double limit)
    {
        const double r = program / bare;
        const bool pass = r <= limit;
        missed = missed || (!pass && enforce);
        say(QStringLiteral("  %1 program %2 s   bare %3 s   ratio %4   target <= %5   %6")
                .arg(label, -34)
                .arg(program, 0, 'f', 4)
                .arg(bare, 0, 'f', 4)
                .arg(r, 0, 'f', 2)
                .arg(limit)
                .arg(pass ? QStringLiteral("PASS") : QStringLiteral("FAIL")));
    }
};

// Runs a statement and steps through its rows: the floor the program is measured against.
inline void walk(Connection& c, const QString& sql)
{
    auto rows = c.query(sql, true);
    if (!rows)
        say(QStringLiteral("  bare statement failed: ") + c.lastError());
    for (; rows && !rows->eof(); rows->next())
        rows->value(0);
}

} // namespace mv::bench
