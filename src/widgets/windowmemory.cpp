#include "widgets/windowmemory.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace mv {

WindowMemory::WindowMemory(const QString& windowName, QObject* parent)
    : QObject(parent), m_windowName(windowName), m_key(u"window/"_qs + windowName)
{
    qApp->installEventFilter(this);
}

void WindowMemory::restore(QWidget* window) const
{
    if (!window->restoreGeometry(m_settings.value(m_key).toByteArray()) || window->isMaximized() ||
        window->isFullScreen() || !window->screen())
        return;
    // Qt moves back only a window wholly off its screen: one left partly outside, on a
    // screen smaller than the one it was left on, is made to fit.
    const QRect room = window->screen()->availableGeometry();
    QRect place = window->geometry();
    place.setSize(place.size().boundedTo(room.size()));
    place.moveLeft(
        std::clamp(place.left(), room.left(), room.left() + room.width() - place.width()));
    place.moveTop(std::clamp(place.top(), room.top(), room.top() + room.height() - place.height()));
    window->setGeometry(place);
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Polish && type != QEvent::Move && type != QEvent::Resize &&
         type != QEvent::WindowStateChange) ||
        !watched->isWidgetType() || watched->objectName() != m_windowName)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow())
        return false;
    if (type == QEvent::Polish) // once, on the way to its first showing
        restore(window);
    else if (window->isVisible())
        m_settings.setValue(m_key, window->saveGeometry());
    return false;
}

} // namespace mv
