#include "widgets/focusreturn.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace mv {

FocusReturn::FocusReturn(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Hide && type != QEvent::WindowActivate) || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow())
        return false;
    if (type == QEvent::WindowActivate) {
        m_active = window;
        return false;
    }
    // The toolkit has already taken the activation away when the window's hiding is told.
    if (window != m_active || !window->parentWidget())
        return false;
    const QPointer<QWidget> owner = window->parentWidget()->window();
    // Looked at once the hiding is over: a window manager that hands the focus on has done so
    // by then, or will with the same result.
    QTimer::singleShot(0, this, [owner] {
        if (owner && owner->isVisible() && !QApplication::activeWindow())
            owner->activateWindow();
    });
    return false;
}

} // namespace mv
