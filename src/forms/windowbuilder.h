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

// The child of window with exactly this objectName and type, nullptr when there is none (for
// controls that may be absent).
template <class T> T* lookupControl(QObject* window, const QString& name)
{
    return window ? window->findChild<T*>(name) : nullptr;
}

// Ends the program with a message naming the window, the control and the expected type.
[[noreturn]] void missingControl(const QObject* window, const QString& name, const char* type);

// The child of window with exactly this objectName and type. A missing control (renamed in
// the catalogue, or of another kind) is a fatal error in every build type, never a null
// pointer.
template <class T> T* findControl(QObject* window, const QString& name)
{
    T* control = lookupControl<T>(window, name);
    if (!control)
        missingControl(window, name, T::staticMetaObject.className());
    return control;
}

} // namespace mv
