#pragma once
// Interrupts a QJSEngine whose evaluation outlives its time limit. One background thread
// sleeps until the deadline of the evaluation in progress; arming and disarming only move
// the deadline, so evaluations in a tight loop cost no thread wake-ups.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class QJSEngine;

namespace mv {

class EvaluationWatchdog
{
public:
    explicit EvaluationWatchdog(QJSEngine& engine);
    ~EvaluationWatchdog();

    void arm(std::chrono::milliseconds limit);
    void disarm();

private:
    void run();

    using Clock = std::chrono::steady_clock;
    QJSEngine& m_engine;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Clock::time_point> m_deadline;
    bool m_idle = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace mv
