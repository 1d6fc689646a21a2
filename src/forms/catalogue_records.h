#pragma once
// Shorthand for writing the catalogue records: one chained expression per control or menu
// entry, so each window file reads like its control table. Used only by catalogue*.cpp.

#include "forms/controldef.h"

#include <QStringView>

#include <initializer_list>

namespace mv::catalogue {

struct Column
{
    QStringView title;
    int width;
};

// Builds one ControlDef; converts implicitly where a ControlDef is expected.
class Ctl
{
public:
    Ctl(QStringView name, ControlKind kind, int left, int top, int width, int height)
    {
        m_def.name = name.toString();
        m_def.kind = kind;
        m_def.left = left;
        m_def.top = top;
        m_def.width = width;
        m_def.height = height;
    }

    // On page `index` of the window's tab control; every window with pages names it 选择夹1.
    Ctl& page(int index)
    {
        m_def.parent = QStringLiteral("选择夹1");
        m_def.page = index;
        return *this;
    }
    // Inside a group box or shape box.
    Ctl& in(QStringView container)
    {
        m_def.parent = container.toString();
        m_def.page = -1;
        return *this;
    }
    Ctl& caption(QStringView text)
    {
        m_def.caption = text.toString();
        return *this;
    }
    Ctl& items(std::initializer_list<QStringView> texts)
    {
        m_def.items.clear();
        for (QStringView text : texts)
            m_def.items.append(text.toString());
        return *this;
    }
    Ctl& columns(std::initializer_list<Column> columns)
    {
        m_def.columns.clear();
        for (const Column& column : columns)
            m_def.columns.append(ColumnDef{column.title.toString(), column.width});
        return *this;
    }
    Ctl& hidden()
    {
        m_def.visible = false;
        return *this;
    }
    Ctl& password()
    {
        m_def.password = true;
        return *this;
    }
    Ctl& tabOrder(int order)
    {
        m_def.tabOrder = order;
        return *this;
    }

    operator ControlDef() const { return m_def; }

private:
    ControlDef m_def;
};

inline Ctl ctl(QStringView name, ControlKind kind, int left, int top, int width, int height)
{
    return Ctl(name, kind, left, top, width, height);
}

// A top-level menu; a hidden one serves as a pop-up menu.
inline MenuDef topMenu(QStringView caption, bool visible = true)
{
    MenuDef menu;
    menu.caption = caption.toString();
    menu.topLevel = true;
    menu.visible = visible;
    return menu;
}

inline MenuDef menuItem(QStringView caption, bool enabled = true)
{
    MenuDef item;
    item.caption = caption.toString();
    item.enabled = enabled;
    return item;
}

inline MenuDef menuSeparator()
{
    MenuDef item;
    item.separator = true;
    return item;
}

inline WindowDef window(QStringView name, QStringView caption, int width, int height)
{
    WindowDef def;
    def.name = name.toString();
    def.caption = caption.toString();
    def.width = width;
    def.height = height;
    return def;
}

// One function per window, each in its own catalogue_<window>.cpp.
WindowDef mainWindow();
WindowDef loginWindow();
WindowDef passwordWindow();
WindowDef databaseSettingsWindow();
WindowDef searchWindow();
WindowDef exportWindow();
WindowDef stripeWindow();
WindowDef previewProgressWindow();
WindowDef printSettingsWindow();
WindowDef formulaWindow();
WindowDef formulaEditWindow();
WindowDef userManagementWindow();

} // namespace mv::catalogue
