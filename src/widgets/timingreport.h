#pragma once
// The morvane.timing logging channel: lines that tell a wall-clock benchmark when the window
// shows what the user waits for. Off unless QT_LOGGING_RULES="morvane.timing.debug=true".

#include <QLoggingCategory>
#include <QString>

class QWidget;

namespace mv {

Q_DECLARE_LOGGING_CATEGORY(lcTiming)

// Once the window of widget is on screen and has drawn what was pending, prints
// "<what> (accessibility on|off) at <seconds>" on the channel, the seconds read from the
// monotonic clock (CLOCK_MONOTONIC on Linux) so another process can compare them with its own.
// Does nothing while the channel is off.
void reportWhenDrawn(const QWidget* widget, const QString& what);

} // namespace mv
