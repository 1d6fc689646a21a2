// Builds every window of the catalogue and checks each control against its record (a slip in
// the builder), and compares the records with a reviewed dump (a slip in a record).

#include "forms/controldef.h"
#include "forms/windowbuilder.h"
#include "support/expectedtext.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace mv;

namespace {

// A window built from its record on a plain host widget, with a menu bar for its menus.
struct Built
{
    std::unique_ptr<QWidget> host;
    QMenuBar* menuBar = nullptr;
    BuiltWindow window;

    QWidget* control(const QString& name) const
    {
        const QList<QWidget*> found = host->findChildren<QWidget*>(name);
        return found.size() == 1 ? found.first() : nullptr;
    }
    template <class T> T* as(const QString& name) const { return qobject_cast<T*>(control(name)); }
};

Built build(const QString& windowName)
{
    Built built;
    built.host = std::make_unique<QWidget>();
    built.menuBar = new QMenuBar(built.host.get());
    if (const WindowDef* def = findWindowDef(windowName))
        built.window = buildWindow(*def, built.host.get(), built.menuBar);
    return built;
}

QList<QWidget*> builtControls(QWidget* host)
{
    QList<QWidget*> controls;
    for (QWidget* widget : host->findChildren<QWidget*>()) {
        if (widget->property(kKindProperty).isValid())
            controls.append(widget);
    }
    return controls;
}

// Kinds that frame other controls.
bool isFrame(ControlKind kind)
{
    return kind == ControlKind::GroupBox || kind == ControlKind::ShapeBox;
}

// Kinds with no appearance of their own: built, but never shown.
bool isNonVisual(ControlKind kind)
{
    switch (kind) {
    case ControlKind::CommonDialog:
    case ControlKind::DatabaseConnection:
    case ControlKind::ScriptComponent:
    case ControlKind::Timer:
    case ControlKind::DataProvider:
    case ControlKind::DataSource:
        return true;
    default:
        return false;
    }
}

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (const QAction* action : actions)
        result.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

QStringList comboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

QStringList tabCaptions(const QTabWidget* tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions.append(tabs->tabText(i));
    return captions;
}

QStringList columnTitles(const ReportList* list)
{
    QStringList titles;
    for (int i = 0; i < list->model()->columnCount(); ++i)
        titles.append(list->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString());
    return titles;
}

QList<int> columnWidths(const ReportList* list)
{
    QList<int> widths;
    for (int i = 0; i < list->model()->columnCount(); ++i)
        widths.append(list->columnWidth(i));
    return widths;
}

QStringList toolbarCaptions(const StateToolBar* bar)
{
    QStringList captions;
    for (int i = 0; i < bar->buttonCount(); ++i)
        captions.append(bar->isSeparator(i) ? QStringLiteral("-") : bar->buttonAction(i)->text());
    return captions;
}

// The control's text as the user sees it, for the kinds that carry a caption.
bool captionOf(const ControlDef& def, QWidget* widget, QString* caption)
{
    switch (def.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
        if (auto* label = qobject_cast<QLabel*>(widget))
            *caption = label->text();
        return true;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            *caption = button->text();
        return true;
    case ControlKind::GroupBox:
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            *caption = group->title();
        return true;
    case ControlKind::EditBox:
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            *caption = edit->text();
        return true;
    default:
        return false;
    }
}

// Everything one control record promises about its widget; each difference is one line.
QStringList controlProblems(const ControlDef& def, const Built& built)
{
    QStringList problems;
    const auto problem = [&](const QString& what) { problems.append(def.name + u": "_qs + what); };

    QWidget* widget = built.control(def.name);
    if (!widget) {
        problem(u"not built (or not unique)"_qs);
        return problems;
    }
    if (built.window.controls.value(def.name) != widget)
        problem(u"missing from the built control table"_qs);
    if (widget->property(kKindProperty).toString() != controlKindName(def.kind))
        problem(u"kind "_qs + widget->property(kKindProperty).toString());
    // A zero width or height (the main toolbar) leaves that side to the control's content.
    const QRect geometry = widget->geometry();
    if (geometry.topLeft() != QPoint(def.left, def.top) ||
        (def.width > 0 && geometry.width() != def.width) ||
        (def.height > 0 && geometry.height() != def.height))
        problem(u"geometry"_qs);
    if (!isNonVisual(def.kind) && (geometry.width() <= 0 || geometry.height() <= 0))
        problem(u"no size"_qs);

    QWidget* expectedParent = built.host.get();
    if (!def.parent.isEmpty()) {
        QWidget* container = built.control(def.parent);
        expectedParent = container;
        if (def.page >= 0) {
            auto* tabs = qobject_cast<QTabWidget*>(container);
            expectedParent = tabs ? tabs->widget(def.page) : nullptr;
        }
    }
    if (!expectedParent || widget->parentWidget() != expectedParent)
        problem(u"parent"_qs);

    const bool hidden = !def.visible || isNonVisual(def.kind);
    if (widget->isHidden() != hidden)
        problem(u"visibility"_qs);
    if (widget->isEnabledTo(built.host.get()) != def.enabled)
        problem(u"enabled state"_qs);

    QString caption;
    if (captionOf(def, widget, &caption) && caption != def.caption)
        problem(u"caption \""_qs + caption + u'"');

    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && def.kind == ControlKind::EditBox) {
        const auto mode = def.password ? QLineEdit::Password : QLineEdit::Normal;
        if (edit->echoMode() != mode)
            problem(u"echo mode"_qs);
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && comboItems(combo) != def.items)
        problem(u"combo items"_qs);
    if (auto* tabs = qobject_cast<QTabWidget*>(widget); tabs && tabCaptions(tabs) != def.items)
        problem(u"tab pages"_qs);
    if (auto* bar = qobject_cast<StateToolBar*>(widget)) {
        if (toolbarCaptions(bar) != def.items)
            problem(u"toolbar buttons"_qs);
        for (int i = 0; i < bar->buttonCount(); ++i) {
            if (bar->state(i) != 0)
                problem(u"toolbar button state"_qs);
        }
    }
    if (auto* list = qobject_cast<ReportList*>(widget)) {
        QStringList titles;
        QList<int> widths;
        for (const ColumnDef& column : def.columns) {
            titles.append(column.title);
            widths.append(column.width);
        }
        if (columnTitles(list) != titles || columnWidths(list) != widths)
            problem(u"columns"_qs);
    }
    return problems;
}

// Controls with an explicit tab order come in that order in the focus chain.
QStringList tabOrderProblems(const WindowDef& window, const Built& built)
{
    QList<const ControlDef*> ordered;
    for (const ControlDef& def : window.controls) {
        if (def.tabOrder > 0)
            ordered.append(&def);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const ControlDef* a, const ControlDef* b) { return a->tabOrder < b->tabOrder; });

    QHash<QWidget*, QString> owners;
    for (const ControlDef* def : ordered) {
        if (QWidget* widget = built.control(def->name))
            owners.insert(widget, def->name);
    }
    QStringList chain;
    QWidget* host = built.host.get();
    for (QWidget* w = host->nextInFocusChain(); w && w != host; w = w->nextInFocusChain()) {
        for (QWidget* a = w; a && a != host; a = a->parentWidget()) {
            const QString owner = owners.value(a);
            if (!owner.isEmpty() && !chain.contains(owner))
                chain.append(owner);
        }
    }
    QStringList expected;
    for (const ControlDef* def : ordered)
        expected.append(def->name);
    if (chain != expected)
        return {window.name + u": tab order "_qs + chain.join(u',')};
    return {};
}

// Visible top-level menus in the bar, hidden ones as pop-ups; items in order with state.
QStringList menuProblems(const WindowDef& window, const Built& built)
{
    QStringList problems;
    QStringList expectedBar;
    QString top;
    QMenu* menu = nullptr;
    qsizetype next = 0; // the menu action the next item record describes
    const auto finishMenu = [&] {
        if (menu && next != menu->actions().size())
            problems.append(top + u": item count"_qs);
    };
    for (const MenuDef& entry : window.menu) {
        if (entry.topLevel) {
            finishMenu();
            top = entry.caption;
            menu = built.window.menus.value(top);
            next = 0;
            if (entry.visible)
                expectedBar.append(top);
            if (!menu)
                problems.append(top + u": menu not built"_qs);
            continue;
        }
        if (!menu)
            continue;
        const QString where = top + u'/' + entry.caption;
        const QList<QAction*> actions = menu->actions();
        if (next >= actions.size()) {
            problems.append(where + u": missing"_qs);
            continue;
        }
        QAction* action = actions.at(next++);
        if (action->isSeparator() != entry.separator)
            problems.append(where + u": separator"_qs);
        if (entry.separator)
            continue;
        if (action->text() != entry.caption || action->isEnabled() != entry.enabled ||
            action->isVisible() != entry.visible)
            problems.append(where + u": text or state"_qs);
        if (built.window.menuActions.value(top + u'_' + entry.caption) != action)
            problems.append(where + u": not in the built action table"_qs);
    }
    finishMenu();
    // Hidden top-level menus are pop-ups and stay out of the bar.
    if (texts(built.menuBar->actions()) != expectedBar)
        problems.append(window.name + u": menu bar"_qs);
    return problems;
}

// The catalogue as text, one line per window, control and menu entry: compared with
// data/catalogue.txt, so any change to a record shows up as a reviewed difference.
QString catalogueDump()
{
    QStringList lines;
    for (const WindowDef& window : windowCatalogue()) {
        lines.append(u"%1 \"%2\" %3x%4"_qs.arg(window.name, window.caption)
                         .arg(window.width)
                         .arg(window.height));
        for (const ControlDef& def : window.controls) {
            QString line = u"  %1: %2 %3,%4 %5x%6"_qs.arg(def.name, controlKindName(def.kind))
                               .arg(def.left)
                               .arg(def.top)
                               .arg(def.width)
                               .arg(def.height);
            if (!def.parent.isEmpty())
                line += u" in "_qs + def.parent +
                        (def.page >= 0 ? u'/' + QString::number(def.page) : QString());
            if (!def.caption.isEmpty())
                line += u" \""_qs + def.caption + u'"';
            if (!def.items.isEmpty())
                line += u" items "_qs + def.items.join(u'|');
            if (!def.columns.isEmpty()) {
                QStringList columns;
                for (const ColumnDef& column : def.columns)
                    columns.append(column.title + u':' + QString::number(column.width));
                line += u" columns "_qs + columns.join(u'|');
            }
            if (!def.visible)
                line += u" hidden"_qs;
            if (!def.enabled)
                line += u" disabled"_qs;
            if (def.password)
                line += u" password"_qs;
            if (def.tabOrder > 0)
                line += u" tab "_qs + QString::number(def.tabOrder);
            lines.append(line);
        }
        for (const MenuDef& entry : window.menu) {
            QString line = entry.topLevel
                               ? u"  menu "_qs + entry.caption
                               : u"    "_qs + (entry.separator ? u"-"_qs : entry.caption);
            if (!entry.visible)
                line += u" hidden"_qs;
            if (!entry.enabled)
                line += u" disabled"_qs;
            lines.append(line);
        }
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void recordsAreConsistent();
    void everyControlIsBuilt_data();
    void everyControlIsBuilt();
    void recordsMatchTheDump();
    void everyControlTakesTheMouse_data();
    void everyControlTakesTheMouse();
    void tabReachesTheFieldsAsTheyRead();
    void fieldsAreNamedByTheirLabels();
};

void TestCatalogue::recordsAreConsistent()
{
    QVERIFY(!findWindowDef(u"NoSuchWindow"_qs));
    QVERIFY(!findWindowDef(QString()));

    QSet<QString> windowNames;
    for (const WindowDef& window : windowCatalogue()) {
        QVERIFY2(!windowNames.contains(window.name), qPrintable(window.name));
        windowNames.insert(window.name);
        QCOMPARE(findWindowDef(window.name), &window);

        QHash<QString, const ControlDef*> byName;
        for (const ControlDef& def : window.controls) {
            QVERIFY2(!def.name.isEmpty(), qPrintable(window.name));
            QVERIFY2(!byName.contains(def.name), qPrintable(window.name + u'/' + def.name));
            byName.insert(def.name, &def);
        }
        for (const ControlDef& def : window.controls) {
            const QString where = window.name + u'/' + def.name;
            if (def.parent.isEmpty()) {
                QVERIFY2(def.page == -1, qPrintable(where));
                continue;
            }
            const ControlDef* container = byName.value(def.parent);
            QVERIFY2(container && container != &def, qPrintable(where));
            if (container->kind == ControlKind::TabControl) {
                QVERIFY2(def.page >= 0 && def.page < container->items.size(), qPrintable(where));
            } else {
                QVERIFY2(def.page == -1, qPrintable(where));
                QVERIFY2(container->kind == ControlKind::GroupBox ||
                             container->kind == ControlKind::ShapeBox,
                         qPrintable(where));
            }
        }
        if (window.menu.isEmpty())
            continue;
        QVERIFY2(window.menu.first().topLevel, qPrintable(window.name));
        for (const MenuDef& entry : window.menu)
            QVERIFY2(entry.separator == entry.caption.isEmpty(), qPrintable(window.name));
    }
}

void TestCatalogue::everyControlIsBuilt_data()
{
    QTest::addColumn<QString>("window");
    for (const WindowDef& def : windowCatalogue())
        QTest::newRow(qPrintable(def.name)) << def.name;
}

void TestCatalogue::everyControlIsBuilt()
{
    QFETCH(QString, window);
    const WindowDef* def = findWindowDef(window);
    QVERIFY(def);
    const Built built = build(window);

    QStringList problems;
    for (const ControlDef& control : def->controls)
        problems += controlProblems(control, built);
    problems += tabOrderProblems(*def, built);
    problems += menuProblems(*def, built);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    QCOMPARE(built.window.controls.size(), def->controls.size());
    QCOMPARE(builtControls(built.host.get()).size(), def->controls.size());
}

void TestCatalogue::recordsMatchTheDump()
{
    QVERIFY(mv::test::matchesExpected(catalogueDump(), u"catalogue.txt"_qs));
}

void TestCatalogue::everyControlTakesTheMouse_data()
{
    everyControlIsBuilt_data();
}

// A click at the centre of a control reaches the control, not one beside it that only
// overlaps it (a page's title bar, a grid, a group box that is not its parent).
void TestCatalogue::everyControlTakesTheMouse()
{
    QFETCH(QString, window);
    const WindowDef* def = findWindowDef(window);
    QVERIFY(def);
    const Built built = build(window);
    built.host->resize(std::max(def->width, 200), std::max(def->height, 200));
    // Buttons that start hidden are shown later: the document pages' 返回 and row buttons.
    for (const ControlDef& control : def->controls)
        if (control.kind == ControlKind::Button)
            built.control(control.name)->show();
    built.host->show();

    QList<std::pair<QTabWidget*, int>> pages{{nullptr, -1}};
    for (QTabWidget* tabs : built.host->findChildren<QTabWidget*>())
        for (int page = 0; page < tabs->count(); ++page)
            pages.append({tabs, page});
    // Not where the catalogue puts them in the real window: the main window lays out its
    // toolbars itself, and the preview's progress window hides its print table.
    const QStringList laidOutByItsWindow{u"MainWindow/工具条1"_qs, u"MainWindow/辅_工具条"_qs,
                                         u"PreviewProgressWindow/表格1"_qs};
    QStringList problems;
    for (const auto& [tabs, page] : pages) {
        if (tabs)
            tabs->setCurrentIndex(page);
        for (const ControlDef& control : def->controls) {
            QWidget* widget = built.control(control.name);
            if (!widget || !widget->isVisible() || isFrame(control.kind) ||
                laidOutByItsWindow.contains(window + u'/' + control.name))
                continue;
            const QPoint centre = widget->mapTo(built.host.get(), widget->rect().center());
            // The control found there: the innermost one around the widget hit.
            QWidget* hit = built.host->childAt(centre);
            while (hit && !hit->property(kKindProperty).isValid())
                hit = hit->parentWidget();
            if (hit && hit != widget && !hit->isAncestorOf(widget) && !widget->isAncestorOf(hit))
                problems.append(control.name + u" lies under "_qs + hit->objectName());
        }
    }
    problems.removeDuplicates();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

// Tab goes from field to field as the window reads; in the order of the definition it went
// from the title to buttons and radio boxes, and the header typed next went nowhere.
void TestCatalogue::tabReachesTheFieldsAsTheyRead()
{
    const Built built = build(u"PrintSettingsWindow"_qs);
    const QStringList fields{u"标题"_qs, u"页眉"_qs, u"页脚"_qs,
                             u"备注"_qs, u"行数"_qs, u"字体大小"_qs};
    QStringList reached;
    QWidget* widget = built.control(fields.first());
    for (int i = 0; i < 500 && widget && reached.size() < fields.size(); ++i) {
        if (fields.contains(widget->objectName()) && !reached.contains(widget->objectName()))
            reached.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(reached, fields);
}

// What a screen reader says for each field, and the label it names as the field's: a field
// read as "text" alone, or named after the wrong label, shows in the reviewed file.
void TestCatalogue::fieldsAreNamedByTheirLabels()
{
    QStringList lines;
    for (const WindowDef& window : windowCatalogue()) {
        const Built built = build(window.name);
        for (const ControlDef& def : window.controls) {
            if (def.kind != ControlKind::EditBox && def.kind != ControlKind::ComboBox &&
                def.kind != ControlKind::DatePicker)
                continue;
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(built.control(def.name));
            QStringList labels;
            for (const auto& [label, relation] : field->relations(QAccessible::Label))
                labels.append(label->text(QAccessible::Name));
            lines.append(u"%1/%2: %3 | %4"_qs.arg(
                window.name, def.name, field->text(QAccessible::Name), labels.join(u", "_qs)));
        }
    }
    QVERIFY(mv::test::matchesExpected(lines.join(u'\n') + u'\n', u"fieldnames.txt"_qs));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
