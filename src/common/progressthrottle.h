#pragma once
// Progress reports thinned out to about thirty a second.

#include <QtGlobal>
#include <functional>

namespace mv {

// Passes (done, total) reports on to a sink: the first one, every one that completes the work
// (done >= total), and otherwise at most one per interval. A progress bar that follows every
// small step costs a repaint each time and, with accessibility on, a message over the
// accessibility bus; thirty updates a second look just as smooth.
class ProgressThrottle
{
public:
    using Sink = std::function<void(int done, int total)>;
    using Clock = std::function<qint64()>; // milliseconds, never decreasing

    explicit ProgressThrottle(Sink sink, qint64 intervalMs = 33, Clock clock = {});

    void operator()(int done, int total);

private:
    Sink m_sink;
    qint64 m_intervalMs;
    Clock m_clock;
    qint64 m_lastPassed = 0;
    bool m_passedAny = false;
};

} // namespace mv
