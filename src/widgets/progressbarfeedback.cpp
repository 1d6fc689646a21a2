#include "widgets/progressbarfeedback.h"

#include "common/progressthrottle.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

namespace mv {

std::function<void(int, int)> progressBarFeedback(QProgressBar* bar)
{
    return ProgressThrottle([bar](int done, int) {
        bar->setValue(std::min(done, bar->maximum()));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

} // namespace mv
