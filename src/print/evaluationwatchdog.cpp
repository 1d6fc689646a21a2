#include "print/evaluationwatchdog.h"

#include <QJSEngine>

namespace mv {

EvaluationWatchdog::EvaluationWatchdog(QJSEngine& engine)
    : m_engine(engine), m_thread([this] { run(); })
{
}

EvaluationWatchdog::~EvaluationWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void EvaluationWatchdog::arm(std::chrono::milliseconds limit)
{
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_deadline = Clock::now() + limit;
        wake = m_idle;
    }
    if (wake)
        m_wake.notify_one();
}

void EvaluationWatchdog::disarm()
{
    std::lock_guard lock(m_mutex);
    m_deadline.reset();
}

void EvaluationWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_deadline) {
            m_idle = true;
            m_wake.wait(lock);
            m_idle = false;
            continue;
        }
        const Clock::time_point deadline = *m_deadline;
        m_wake.wait_until(lock, deadline);
        if (m_deadline && Clock::now() >= *m_deadline) {
            m_deadline.reset();
            m_engine.setInterrupted(true);
        }
    }
}

} // namespace mv
