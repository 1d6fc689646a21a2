#include "widgets/focusreturn.h"

#include <QApplication>
#include <QEvent>
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
    m_activated.removeAll(nullptr);
    if (type == QEvent::WindowActivate) {
        m_activated.removeAll(window);
        m_activated.append(window);
        return false;
    }
    // The toolkit has already taken the activation away when the window's hiding is told.
    const bool wasLast = !m_activated.isEmpty() && m_activated.constLast() == window;
    m_activated.removeAll(window);
    if (!wasLast)
        return false;
    QPointer<QWidget> owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    for (auto it = m_activated.crbegin(); !owner && it != m_activated.crend(); ++it)
        if ((*it)->isVisible())
            owner = *it;
    if (!owner)
        return false;
    // Looked at once the hiding is over: a window manager that hands the focus on has done so
    // by then, or will with the same result.
    QTimer::singleShot(0, this, [owner] {
        if (owner && owner->isVisible() && !QApplication::activeWindow())
            owner->activateWindow();
    });
    return false;
}

} // namespace mv
