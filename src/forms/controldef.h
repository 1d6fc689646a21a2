#pragma once
// The window catalogue as data: one record per window, control and menu item. A generic
// builder turns a window's records into widgets; the catalogue test reads the same records.

#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

enum class ControlKind
{
    EditBox,
    ComboBox,
    Label,
    TransparentLabel,
    Button,
    CheckBox,
    RadioButton,
    ReportList, // list view in report mode
    Grid,       // document grid / table
    TabControl, // items = page captions
    ToolBar,    // items = button captions, "-" for a separator
    StatusBar,
    ProgressBar,
    DatePicker,
    WebBrowser,
    DrawPanel,
    PictureBox,
    ShapeBox,
    GroupBox,
    CheckListBox,
    ColourPicker,
    CommonDialog,       // non-visual
    DatabaseConnection, // non-visual
    ScriptComponent,    // non-visual
    Timer,              // non-visual
    DataProvider,       // non-visual
    DataSource,
};

struct ColumnDef
{
    QString title;
    int width = 100;
};

struct ControlDef
{
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString parent;    // empty: the window itself; else the containing control's name
    int page = -1;     // tab page index when the parent is a tab control
    QString caption;   // caption, or initial text of an edit box
    QStringList items; // combo items, tab page captions, toolbar button captions
    QList<ColumnDef> columns;
    bool visible = true;
    bool enabled = true;
    bool password = false; // edit box masked with '*'
    int tabOrder = 0;      // 0: definition order
};

struct MenuDef
{
    QString caption; // empty with separator = true
    bool topLevel = false;
    bool separator = false;
    bool visible = true;
    bool enabled = true;
};

struct WindowDef
{
    QString name; // MainWindow, LoginWindow, ...
    QString caption;
    int width = 0;
    int height = 0;
    QList<ControlDef> controls; // in definition order
    QList<MenuDef> menu;        // top-level menus each followed by their items
};

// Every window of the program, by name.
const QList<WindowDef>& windowCatalogue();
// nullptr for an unknown name.
const WindowDef* findWindowDef(const QString& name);
// The catalogue's definition of a window the program opens: a name not in the catalogue is a
// fatal error in every build type.
const WindowDef& windowDef(const QString& name);

// The kind's name as stored in each built control's "morvaneKind" property.
QString controlKindName(ControlKind kind);

} // namespace mv
