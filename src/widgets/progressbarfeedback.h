#pragma once
// Long work reported on a progress bar while the window stays drawn.

#include <functional>

class QProgressBar;

namespace mv {

// A (done, total) callback that moves the bar to done (at most its maximum; the caller sets
// the range) and processes pending events other than user input, so the window repaints
// without taking input in the middle of the work. Reports are thinned out to about thirty a
// second (ProgressThrottle). The bar must outlive the callback.
std::function<void(int done, int total)> progressBarFeedback(QProgressBar* bar);

} // namespace mv
