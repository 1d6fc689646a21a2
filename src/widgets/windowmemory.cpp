#include "widgets/windowmemory.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace mv {

WindowMemory::WindowMemory(const QString& windowName, QObject* parent)
    : QObject(parent), m_windowName(windowName), m_key(u"window/"_qs + windowName)
{
    qApp->installEventFilter(this);
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
        window->restoreGeometry(m_settings.value(m_key).toByteArray());
    else if (window->isVisible())
        m_settings.setValue(m_key, window->saveGeometry());
    return false;
}

} // namespace mv
