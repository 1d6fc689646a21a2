#include "widgets/menuitemaccessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace mv {

namespace {

QString stripAmpersands(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == u'&')
            text.remove(i, 1); // "&&" keeps one ampersand
    return text;
}

QWidget* menuOwner(const QAction* action)
{
    for (QObject* object : action->associatedObjects())
        if (qobject_cast<QMenu*>(object) || qobject_cast<QMenuBar*>(object))
            return static_cast<QWidget*>(object);
    return nullptr;
}

} // namespace

MenuItemAccessible::MenuItemAccessible(QAction* action) : m_action(action) {}

QAccessibleInterface* MenuItemAccessible::create(const QString& className, QObject* object)
{
    auto* action = qobject_cast<QAction*>(object);
    if (className != u"QAction" || !action || !menuOwner(action))
        return nullptr;
    return new MenuItemAccessible(action); // owned by Qt's accessibility cache
}

QWidget* MenuItemAccessible::owner() const
{
    return m_action ? menuOwner(m_action) : nullptr;
}

bool MenuItemAccessible::isValid() const
{
    return m_action && owner();
}

QObject* MenuItemAccessible::object() const
{
    return m_action;
}

QWindow* MenuItemAccessible::window() const
{
    QWidget* widget = owner();
    return widget ? widget->window()->windowHandle() : nullptr;
}

QAccessibleInterface* MenuItemAccessible::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface* MenuItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(owner());
}

QAccessibleInterface* MenuItemAccessible::child(int index) const
{
    if (index == 0 && m_action && m_action->menu())
        return QAccessible::queryAccessibleInterface(m_action->menu());
    return nullptr;
}

int MenuItemAccessible::childCount() const
{
    return m_action && m_action->menu() ? 1 : 0;
}

int MenuItemAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && m_action && m_action->menu() && child->object() == m_action->menu() ? 0 : -1;
}

QString MenuItemAccessible::text(QAccessible::Text t) const
{
    if (!m_action)
        return {};
    switch (t) {
    case QAccessible::Name:
        return stripAmpersands(m_action->text());
    case QAccessible::Description:
        // A menu-bar entry stands for its menu and carries the menu's name.
        if (m_action->objectName().isEmpty() && m_action->menu())
            return m_action->menu()->objectName();
        return m_action->objectName();
    case QAccessible::Accelerator:
        return m_action->shortcut().toString(QKeySequence::NativeText);
    default:
        return {};
    }
}

void MenuItemAccessible::setText(QAccessible::Text, const QString&) {}

QRect MenuItemAccessible::rect() const
{
    QWidget* widget = owner();
    QRect area;
    if (auto* menu = qobject_cast<QMenu*>(widget))
        area = menu->actionGeometry(m_action);
    else if (auto* bar = qobject_cast<QMenuBar*>(widget))
        area = bar->actionGeometry(m_action);
    if (!widget || area.isNull())
        return {};
    return QRect(widget->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role MenuItemAccessible::role() const
{
    return m_action && m_action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State MenuItemAccessible::state() const
{
    QAccessible::State s;
    QWidget* widget = owner();
    if (!m_action || !widget) {
        s.invalid = true;
        return s;
    }
    if (!m_action->isVisible() || !widget->isVisible())
        s.invisible = true;
    if (!m_action->isEnabled())
        s.disabled = true;
    s.focusable = true;
    QAction* active = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(widget))
        active = menu->activeAction();
    else if (auto* bar = qobject_cast<QMenuBar*>(widget))
        active = bar->activeAction();
    if (active == m_action)
        s.focused = true;
    if (m_action->isCheckable()) {
        s.checkable = true;
        s.checked = m_action->isChecked();
    }
    if (m_action->menu())
        s.hasPopup = true;
    return s;
}

void* MenuItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
}

QStringList MenuItemAccessible::actionNames() const
{
    if (!m_action || !m_action->isEnabled() || m_action->isSeparator())
        return {};
    return {m_action->menu() ? showMenuAction() : pressAction()};
}

void MenuItemAccessible::doAction(const QString& actionName)
{
    if (!m_action || !m_action->isEnabled())
        return;
    if (actionName == pressAction()) {
        // Triggered from the event loop, after the reply to the caller: an item that opens a
        // modal dialog would otherwise hold the accessibility request until the dialog closes.
        QMetaObject::invokeMethod(
            m_action.data(),
            [action = m_action] {
                if (action)
                    action->trigger();
            },
            Qt::QueuedConnection);
        return;
    }
    if (actionName != showMenuAction())
        return;
    if (m_action->menu() && m_action->menu()->isVisible()) {
        m_action->menu()->hide();
    } else if (auto* bar = qobject_cast<QMenuBar*>(owner())) {
        bar->setActiveAction(m_action);
    } else if (auto* menu = qobject_cast<QMenu*>(owner())) {
        menu->setActiveAction(m_action);
    }
}

QStringList MenuItemAccessible::keyBindingsForAction(const QString&) const
{
    return {};
}

} // namespace mv
