#pragma once
// The wait cursor while the program works and the clerk cannot do anything else: shown for as
// long as a WaitCursor lives, on every way out, and given back early with release() (before a
// question is asked or a result shown).

#include <utility>

namespace mv {

class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void release();

private:
    bool m_held = true;
};

// The result of work, done under the wait cursor.
template <class Work> auto withWaitCursor(Work&& work)
{
    WaitCursor wait;
    return std::forward<Work>(work)();
}

} // namespace mv
