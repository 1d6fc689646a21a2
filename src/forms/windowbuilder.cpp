#include "forms/windowbuilder.h"

#include "forms/fieldlabels.h"

#include "widgets/checklistbox.h"
#include "widgets/colourpicker.h"
#include "widgets/combobox.h"
#include "widgets/datepicker.h"
#include "widgets/documentgrid.h"
#include "widgets/drawpanel.h"
#include "widgets/editbox.h"
#include "widgets/nonvisualcontrol.h"
#include "widgets/picturebox.h"
#include "widgets/reportlist.h"
#include "widgets/shapebox.h"
#include "widgets/statetoolbar.h"
#include "widgets/statuspanes.h"
#include "widgets/tabcontrol.h"
#include "widgets/transparentlabel.h"
#include "widgets/webpanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>
#include <tuple>

namespace mv {

namespace {

QWidget* createControl(const ControlDef& def, QWidget* parent)
{
    switch (def.kind) {
    case ControlKind::EditBox: {
        auto* edit = new EditBox(parent);
        edit->setText(def.caption);
        edit->setPasswordMode(def.password);
        return edit;
    }
    case ControlKind::ComboBox: {
        auto* combo = new ComboBox(parent);
        // A fixed list of choices is a drop-down list; an empty one takes typed text.
        combo->setEditable(def.items.isEmpty());
        combo->addItems(def.items);
        if (!def.caption.isEmpty())
            combo->setCurrentText(def.caption);
        return combo;
    }
    case ControlKind::Label:
        return new QLabel(def.caption, parent);
    case ControlKind::TransparentLabel: {
        auto* label = new TransparentLabel(parent);
        label->setText(def.caption);
        return label;
    }
    case ControlKind::Button:
        return new QPushButton(def.caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(def.caption, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(def.caption, parent);
    case ControlKind::ReportList: {
        auto* list = new ReportList(parent);
        QList<ReportColumn> columns;
        for (const ColumnDef& column : def.columns)
            columns.append(ReportColumn{column.title, column.width});
        list->setColumns(columns);
        return list;
    }
    case ControlKind::Grid: {
        auto* grid = new DocumentGrid(parent);
        if (!def.columns.isEmpty()) {
            grid->setColumnCount(int(def.columns.size()));
            grid->setRowCount(1);
            for (int c = 0; c < def.columns.size(); ++c) {
                grid->setCellText(0, c, def.columns.at(c).title);
                grid->setColumnWidth(c, def.columns.at(c).width);
            }
        }
        return grid;
    }
    case ControlKind::TabControl: {
        auto* tabs = new TabControl(parent);
        tabs->setObjectName(def.name); // pages take their names from it
        for (const QString& caption : def.items)
            tabs->addPage(caption);
        // Pages without a caption only carry the controls, as the window's background: an
        // empty tab above them would be a tab to click that leads nowhere.
        if (std::all_of(def.items.begin(), def.items.end(),
                        [](const QString& caption) { return caption.isEmpty(); }))
            tabs->tabBar()->hide();
        return tabs;
    }
    case ControlKind::ToolBar: {
        auto* toolbar = new StateToolBar(parent);
        toolbar->setObjectName(def.name);
        toolbar->addButtons(def.items);
        return toolbar;
    }
    case ControlKind::StatusBar: {
        auto* status = new StatusPanes(parent);
        status->setObjectName(def.name);
        return status;
    }
    case ControlKind::ProgressBar:
        return new QProgressBar(parent);
    case ControlKind::DatePicker:
        return new DatePicker(parent);
    case ControlKind::WebBrowser:
        return new WebPanel(parent);
    case ControlKind::DrawPanel:
        return new DrawPanel(parent);
    case ControlKind::PictureBox:
        return new PictureBox(parent);
    case ControlKind::ShapeBox:
        return new ShapeBox(parent);
    case ControlKind::GroupBox:
        return new QGroupBox(def.caption, parent);
    case ControlKind::CheckListBox: {
        auto* list = new CheckListBox(parent);
        for (const QString& item : def.items)
            list->addCheckItem(item);
        return list;
    }
    case ControlKind::ColourPicker:
        return new ColourPicker(parent);
    case ControlKind::CommonDialog:
    case ControlKind::DatabaseConnection:
    case ControlKind::ScriptComponent:
    case ControlKind::Timer:
    case ControlKind::DataProvider:
    case ControlKind::DataSource:
        return new NonVisualControl(parent);
    }
    return new QWidget(parent);
}

// The widget a child of this control sits in: a tab control's page (created on demand for
// a tab control defined without page captions), or the control itself.
QWidget* containerFor(QWidget* parentControl, int page)
{
    auto* tabs = qobject_cast<TabControl*>(parentControl);
    if (!tabs)
        return parentControl;
    const int index = std::max(0, page);
    while (tabs->count() <= index)
        tabs->addPage(QString());
    return tabs->page(index);
}

void buildMenus(const WindowDef& def, QWidget* host, QMenuBar* menuBar, BuiltWindow& built)
{
    QMenu* current = nullptr;
    for (const MenuDef& entry : def.menu) {
        if (entry.topLevel) {
            if (entry.visible && menuBar) {
                current = menuBar->addMenu(entry.caption);
            } else {
                // Not in the bar: a pop-up menu owned by the window.
                current = new QMenu(entry.caption, host);
            }
            current->setObjectName(entry.caption);
            current->setEnabled(entry.enabled);
            built.menus.insert(entry.caption, current);
            continue;
        }
        if (!current)
            continue;
        if (entry.separator) {
            current->addSeparator();
            continue;
        }
        QAction* action = current->addAction(entry.caption);
        const QString name = current->objectName() % u'_' % entry.caption;
        action->setObjectName(name);
        action->setEnabled(entry.enabled);
        action->setVisible(entry.visible);
        built.menuActions.insert(name, action);
    }
}

// The row each control reads in among the controls of its container: tops sorted, a new row
// where a top lies more than 10 pixels below the first top of the row before.
QHash<const ControlDef*, int> readingRows(const WindowDef& def)
{
    QHash<std::pair<QString, int>, QList<const ControlDef*>> byContainer;
    for (const ControlDef& control : def.controls)
        byContainer[{control.parent, control.page}].append(&control);
    QHash<const ControlDef*, int> rows;
    for (QList<const ControlDef*>& siblings : byContainer) {
        std::stable_sort(siblings.begin(), siblings.end(),
                         [](const ControlDef* a, const ControlDef* b) { return a->top < b->top; });
        int row = -1;
        int rowTop = 0;
        for (const ControlDef* control : siblings) {
            if (row < 0 || control->top > rowTop + 10)
                ++row, rowTop = control->top;
            rows.insert(control, row);
        }
    }
    return rows;
}

// Where a control reads on its window: the rows and columns of its containers, outermost
// first, then its own.
QList<std::pair<int, int>> readingPlace(const ControlDef& control,
                                        const QHash<QString, const ControlDef*>& byName,
                                        const QHash<const ControlDef*, int>& rows)
{
    QList<std::pair<int, int>> place;
    for (const ControlDef* c = &control; c; c = byName.value(c->parent))
        place.prepend({rows.value(c), c->left});
    // Buttons after the fields of their container: a field's text typed after one Tab too many
    // would otherwise go to the button standing beside it.
    if (control.kind == ControlKind::Button)
        place.last().first += 1 << 20;
    return place;
}

void setTabOrder(const WindowDef& def, const BuiltWindow& built)
{
    // Explicit tab orders first (ascending), then the rest as the window reads, top to bottom
    // and left to right within each container: the definition order of a window is not the
    // order of its fields, and Tab would jump about and leave typed text in a button.
    QHash<QString, const ControlDef*> byName;
    for (const ControlDef& control : def.controls)
        byName.insert(control.name, &control);
    struct Entry
    {
        const ControlDef* control;
        int explicitOrder; // the given order, or after all given ones
        QList<std::pair<int, int>> place;
    };
    const QHash<const ControlDef*, int> rows = readingRows(def);
    QList<Entry> order;
    for (const ControlDef& control : def.controls)
        order.append({&control,
                      control.tabOrder > 0 ? control.tabOrder : std::numeric_limits<int>::max(),
                      readingPlace(control, byName, rows)});
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.explicitOrder, a.place) < std::tie(b.explicitOrder, b.place);
    });
    QWidget* previous = nullptr;
    for (const Entry& entry : order) {
        QWidget* widget = built.controls.value(entry.control->name);
        if (!widget || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

// Controls overlap as where the catalogue was drawn: one defined earlier lies above the ones
// defined after it (a button on a page's title bar, the grid's row buttons over its corner,
// a group box inside another that is only its sibling), instead of hidden under them.
void stackInDefinitionOrder(const WindowDef& def, const BuiltWindow& built)
{
    for (auto control = def.controls.crbegin(); control != def.controls.crend(); ++control)
        built.controls.value(control->name)->raise();
}

} // namespace

BuiltWindow buildWindow(const WindowDef& def, QWidget* host, QMenuBar* menuBar)
{
    BuiltWindow built;
    if (!host)
        return built;

    // First every control as a child of the window: a child may be listed before its parent.
    for (const ControlDef& control : def.controls) {
        QWidget* widget = createControl(control, host);
        widget->setObjectName(control.name);
        widget->setProperty(kKindProperty, controlKindName(control.kind));
        built.controls.insert(control.name, widget);
    }

    // Then each into its place: a parent control or one of its tab pages. A control placed on
    // a page without naming its parent sits on the window's first tab control.
    TabControl* firstTabs = nullptr;
    for (const ControlDef& control : def.controls)
        if (!firstTabs && control.kind == ControlKind::TabControl)
            firstTabs = qobject_cast<TabControl*>(built.controls.value(control.name));
    for (const ControlDef& control : def.controls) {
        QWidget* parentControl = nullptr;
        if (!control.parent.isEmpty())
            parentControl = built.controls.value(control.parent);
        else if (control.page >= 0 && control.kind != ControlKind::TabControl)
            parentControl = firstTabs;
        if (!parentControl || parentControl == built.controls.value(control.name))
            continue;
        built.controls.value(control.name)->setParent(containerFor(parentControl, control.page));
    }
    stackInDefinitionOrder(def, built);

    // Geometry and initial state last, since reparenting hides a widget.
    for (const ControlDef& control : def.controls) {
        QWidget* widget = built.controls.value(control.name);
        QSize size(control.width, control.height);
        if (size.width() <= 0 || size.height() <= 0) {
            // Sized by its content (the main toolbar is defined with no size).
            const QSize hint = widget->sizeHint();
            size = QSize(size.width() > 0 ? size.width() : hint.width(),
                         size.height() > 0 ? size.height() : hint.height());
        }
        widget->setGeometry(control.left, control.top, size.width(), size.height());
        widget->setEnabled(control.enabled);
        widget->setVisible(control.visible);
    }

    buildMenus(def, host, menuBar, built);
    setTabOrder(def, built);
    nameFieldsByTheirLabels(def, built);
    return built;
}

void missingControl(const QObject* window, const QString& name, const char* type)
{
    QString where = QStringLiteral("(none)");
    if (window) {
        where = window->objectName().isEmpty()
                    ? QString::fromLatin1(window->metaObject()->className())
                    : window->objectName();
        // A host inside a window (e.g. the main window's client area) names its window too.
        if (const auto* widget = qobject_cast<const QWidget*>(window);
            widget && widget->window() != widget && !widget->window()->objectName().isEmpty())
            where = widget->window()->objectName() + u'/' + where;
    }
    qFatal("Window %s has no control %s of type %s", qUtf8Printable(where), qUtf8Printable(name),
           type);
}

} // namespace mv
