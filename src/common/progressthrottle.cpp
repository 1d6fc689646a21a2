#include "common/progressthrottle.h"

#include <QElapsedTimer>
#include <memory>

namespace mv {

ProgressThrottle::ProgressThrottle(Sink sink, qint64 intervalMs, Clock clock)
    : m_sink(std::move(sink)), m_intervalMs(intervalMs), m_clock(std::move(clock))
{
    if (!m_clock) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        m_clock = [timer] { return timer->elapsed(); };
    }
}

void ProgressThrottle::operator()(int done, int total)
{
    if (!m_sink)
        return;
    const qint64 now = m_clock();
    if (m_passedAny && done < total && now - m_lastPassed < m_intervalMs)
        return;
    m_passedAny = true;
    m_lastPassed = now;
    m_sink(done, total);
}

} // namespace mv
