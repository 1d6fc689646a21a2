#pragma once
// Turns a window definition into widgets: every control becomes a child of the host (or of its
// parent control or tab page) with its name, kind, geometry, caption, items, columns, visibility
// and tab order; the menu becomes menu-bar menus and pop-up menus.

#include "forms/controldef.h"

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace mv {

struct BuiltWindow
{
    QHash<QString, QWidget*> controls;    // by control name
    QHash<QString, QMenu*> menus;         // by top-level caption
    QHash<QString, QAction*> menuActions; // by "<top caption>_<item caption>"
};

// The dynamic property holding each built control's kind name.
inline constexpr char kKindProperty[] = "morvaneKind";

// Visible top-level menus go into menuBar when given; hidden ones become pop-up menus owned
// by host. Does not set the host's own caption or size.
BuiltWindow buildWindow(const WindowDef& def, QWidget* host, QMenuBar* menuBar = nullptr);

// Ends the program with a message naming the window, the control and the expected type.
[[noreturn]] void missingControl(const QObject* window, const QString& name, const char* type);

// The child (at any depth) of window with exactly this objectName and type: the one way the
// windows find their controls and menu items. A missing control (renamed in the catalogue, or
// of another kind) is a fatal error in every build type, never a null pointer.
template <class T> T* control(const QObject* window, const QString& name)
{
    T* found = window ? window->findChild<T*>(name) : nullptr;
    if (!found)
        missingControl(window, name, T::staticMetaObject.className());
    return found;
}

} // namespace mv
