// Builds every window of the catalogue and checks each control against its record, then
// checks a selection of controls against values typed here independently of the records, so
// a slip in a record is caught as well as a slip in the builder.

#include "forms/controldef.h"
#include "forms/windowbuilder.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"

#include <QAbstractButton>
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

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void windowRecords_data();
    void windowRecords();
    void recordsAreConsistent();
    void everyControlIsBuilt_data();
    void everyControlIsBuilt();
    void mainWindowLiterals();
    void mainWindowMenus();
    void loginAndPasswordLiterals();
    void searchWindowLiterals();
    void printSettingsLiterals();
    void formulaWindowsLiterals();
    void helperWindowsLiterals();
};

void TestCatalogue::windowRecords_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("controls");
    QTest::addColumn<int>("menuEntries");

    QTest::newRow("MainWindow") << u"Morvane[单机版]v1.0 - Morvane 开发组"_qs << 948 << 612 << 52
                                << 23;
    QTest::newRow("LoginWindow") << u"Morvane 单机版v1.0"_qs << 294 << 202 << 9 << 0;
    QTest::newRow("PasswordWindow") << u"修改密码"_qs << 350 << 244 << 9 << 0;
    QTest::newRow("SearchWindow") << u"搜索"_qs << 273 << 134 << 9 << 0;
    QTest::newRow("ExportWindow") << QString() << 0 << 0 << 1 << 0;
    QTest::newRow("StripeWindow") << QString() << 26 << 71 << 1 << 0;
    QTest::newRow("PreviewProgressWindow") << QString() << 260 << 40 << 6 << 0;
    QTest::newRow("PrintSettingsWindow") << u"打印预览设置"_qs << 400 << 390 << 75 << 3;
    QTest::newRow("FormulaWindow") << u"公式设置"_qs << 413 << 168 << 11 << 0;
    QTest::newRow("FormulaEditWindow") << u"修改公式设置"_qs << 413 << 168 << 11 << 0;
    QTest::newRow("UserManagementWindow") << u"用户管理"_qs << 470 << 370 << 15 << 0;
}

void TestCatalogue::windowRecords()
{
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, controls);
    QFETCH(int, menuEntries);

    const QString name = QString::fromUtf8(QTest::currentDataTag());
    const WindowDef* def = findWindowDef(name);
    QVERIFY(def);
    QCOMPARE(def->name, name);
    QCOMPARE(def->caption, caption);
    QCOMPARE(def->width, width);
    QCOMPARE(def->height, height);
    QCOMPARE(def->controls.size(), controls);
    QCOMPARE(def->menu.size(), menuEntries);

    const Built built = build(name);
    QCOMPARE(builtControls(built.host.get()).size(), controls);
}

void TestCatalogue::recordsAreConsistent()
{
    QCOMPARE(windowCatalogue().size(), 12);
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
}

void TestCatalogue::mainWindowLiterals()
{
    const Built mainWin = build(u"MainWindow"_qs);
    auto* tabs = mainWin.as<QTabWidget>(u"选择夹1"_qs);
    QVERIFY(tabs);
    QCOMPARE(tabs->geometry(), QRect(0, 102, 939, 442));
    QCOMPARE(tabCaptions(tabs), (QStringList{u"主窗口"_qs, u"YCL库存"_qs, u"YCL明细"_qs,
                                             u"入库单"_qs, u"领料单"_qs, u"moon"_qs, u"打印"_qs}));
    // Page 6 "打印" is empty.
    QVERIFY(tabs->widget(6));
    for (QObject* child : tabs->widget(6)->children())
        QVERIFY2(!child->isWidgetType(), qPrintable(child->objectName()));

    auto* stock = mainWin.as<ReportList>(u"超级列表框1"_qs);
    QVERIFY(stock);
    QCOMPARE(stock->parentWidget(), tabs->widget(1));
    QCOMPARE(stock->geometry(), QRect(5, 5, 931, 397));
    QCOMPARE(columnTitles(stock), (QStringList{u"编号"_qs, u"库存分类"_qs, u"名称"_qs, u"型号"_qs,
                                               u"现存量"_qs, u"单位"_qs, u"备注"_qs}));
    QCOMPARE(columnWidths(stock), (QList<int>{50, 100, 150, 150, 80, 50, 1000}));

    auto* moves = mainWin.as<ReportList>(u"超级列表框2"_qs);
    QVERIFY(moves);
    QCOMPARE(moves->parentWidget(), tabs->widget(2));
    QCOMPARE(columnTitles(moves),
             (QStringList{u"出入库"_qs, u"数量"_qs, u"单据号"_qs, u"人员"_qs, u"时间"_qs}));
    QCOMPARE(columnWidths(moves), (QList<int>{100, 100, 100, 60, 300}));

    auto* monthly = mainWin.as<ReportList>(u"超级列表框3"_qs);
    QVERIFY(monthly);
    QCOMPARE(monthly->parentWidget(), tabs->widget(5));
    QCOMPARE(columnTitles(monthly).last(), u"本月入库"_qs);
    QCOMPARE(columnWidths(monthly), (QList<int>{50, 100, 200, 150, 100, 100, 100, 500}));

    auto* mainBar = mainWin.as<StateToolBar>(u"工具条1"_qs);
    QVERIFY(mainBar);
    QCOMPARE(toolbarCaptions(mainBar),
             (QStringList{u"采购入库"_qs, u"领料出库"_qs, u"库存明细"_qs, u"-"_qs, u"成品入库"_qs,
                          u"成品出库"_qs, u"成品明细"_qs, u"-"_qs, u"数据设置"_qs, u"退出"_qs}));
    auto* auxBar = mainWin.as<StateToolBar>(u"辅_工具条"_qs);
    QVERIFY(auxBar);
    QCOMPARE(toolbarCaptions(auxBar),
             (QStringList{u"打印"_qs, u"预览"_qs, u"-"_qs, u"添加"_qs, u"保存"_qs, u"修改"_qs,
                          u"删除"_qs, u"-"_qs, u"上一张"_qs, u"下一张"_qs, u"-"_qs, u"审核"_qs,
                          u"统计"_qs, u"出入记录"_qs, u"查询"_qs}));
    QCOMPARE(auxBar->geometry(), QRect(8, 8, 939, 20));
    QCOMPARE(mainBar->pos(), QPoint(176, 0));
    QVERIFY(mainBar->width() > 0 && mainBar->height() > 0);

    // The date pickers and the search button belong to the window itself and start hidden.
    for (const QString& name : {u"too"_qs, u"formo"_qs, u"搜索_按钮"_qs}) {
        QWidget* widget = mainWin.control(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget(), mainWin.host.get());
        QVERIFY2(widget->isHidden(), qPrintable(name));
    }
    QCOMPARE(mainWin.control(u"too"_qs)->property(kKindProperty).toString(), u"date picker"_qs);
    QCOMPARE(mainWin.as<QAbstractButton>(u"搜索_按钮"_qs)->text(), u"搜索"_qs);
    QCOMPARE(mainWin.control(u"搜索_按钮"_qs)->geometry(), QRect(876, 79, 50, 20));

    // The grid buttons of both document pages start hidden; "返回" on page 3 sits in its
    // title bar.
    const QList<std::pair<QString, QString>> gridButtons = {{u"按钮7"_qs, u"+"_qs},
                                                            {u"按钮2"_qs, u"-"_qs},
                                                            {u"按钮1"_qs, u"+"_qs},
                                                            {u"按钮4"_qs, u"-"_qs}};
    for (const auto& [name, caption] : gridButtons) {
        auto* button = mainWin.as<QAbstractButton>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->text(), caption);
        QVERIFY(button->isHidden());
    }
    QCOMPARE(mainWin.control(u"按钮7"_qs)->parentWidget(), tabs->widget(3));
    QCOMPARE(mainWin.control(u"按钮1"_qs)->parentWidget(), tabs->widget(4));
    QCOMPARE(mainWin.control(u"按钮5"_qs)->parentWidget(), mainWin.control(u"外形框1"_qs));
    QCOMPARE(mainWin.control(u"外形框1"_qs)->parentWidget(), tabs->widget(3));
    QCOMPARE(mainWin.control(u"标签13"_qs)->parentWidget(), mainWin.control(u"外形框1"_qs));
    QCOMPARE(mainWin.as<QLabel>(u"标签13"_qs)->text(), u"采购入库单"_qs);
    QCOMPARE(mainWin.as<QLabel>(u"标签14"_qs)->text(), u"领料单"_qs);
    QCOMPARE(mainWin.as<QLabel>(u"标签10"_qs)->text(), u"入库单号："_qs);
    QVERIFY(!mainWin.control(u"按钮3"_qs)->isHidden());
    QCOMPARE(mainWin.control(u"按钮3"_qs)->parentWidget(), tabs->widget(2));

    // 编辑框_出库_项目 is a combo box despite its name.
    QVERIFY(mainWin.as<QComboBox>(u"编辑框_出库_项目"_qs));
    QCOMPARE(mainWin.control(u"显示数据"_qs)->property(kKindProperty).toString(), u"grid"_qs);
    QCOMPARE(mainWin.control(u"显示数据"_qs)->geometry(), QRect(87, 92, 736, 255));
    QCOMPARE(mainWin.control(u"图片框2"_qs)->geometry(), QRect(552, 16, 384, 56));
    QCOMPARE(mainWin.control(u"状态条1"_qs)->geometry(), QRect(0, 538, 942, 20));
    QVERIFY(mainWin.control(u"打印表格"_qs)->isHidden());
    QVERIFY(mainWin.control(u"进度条1"_qs)->isHidden());
    QVERIFY(mainWin.control(u"通用对话框1"_qs)->isHidden());
}

void TestCatalogue::mainWindowMenus()
{
    const Built mainWin = build(u"MainWindow"_qs);
    QCOMPARE(texts(mainWin.menuBar->actions()), (QStringList{u"系统"_qs, u"用户"_qs, u"帮助"_qs}));

    QMenu* system = mainWin.window.menus.value(u"系统"_qs);
    QVERIFY(system);
    QCOMPARE(texts(system->actions()), (QStringList{u"数据设置"_qs, u"数据备份"_qs, u"数据恢复"_qs,
                                                    u"-"_qs, u"重新登录"_qs, u"退出"_qs}));
    // "导入" is the stock list's pop-up menu, not part of the bar.
    QMenu* import = mainWin.window.menus.value(u"导入"_qs);
    QVERIFY(import);
    QCOMPARE(texts(import->actions()),
             (QStringList{u"记录"_qs, u"-"_qs, u"入库"_qs, u"-"_qs, u"领料"_qs, u"-"_qs, u"删除"_qs,
                          u"-"_qs, u"刷新"_qs}));
    QMenu* user = mainWin.window.menus.value(u"用户"_qs);
    QVERIFY(user);
    QCOMPARE(texts(user->actions()), (QStringList{u"修改密码"_qs, u"用户管理"_qs}));
    QVERIFY(user->actions().at(0)->isEnabled());
    QVERIFY(!user->actions().at(1)->isEnabled());
    QVERIFY(!mainWin.window.menuActions.value(u"用户_用户管理"_qs)->isEnabled());
    QMenu* help = mainWin.window.menus.value(u"帮助"_qs);
    QVERIFY(help);
    QCOMPARE(texts(help->actions()), (QStringList{u"关于"_qs, u"帮助"_qs}));
}

void TestCatalogue::loginAndPasswordLiterals()
{
    const Built login = build(u"LoginWindow"_qs);
    auto* loginButton = login.as<QAbstractButton>(u"按钮2"_qs);
    QVERIFY(loginButton);
    QCOMPARE(loginButton->text(), u"登录"_qs);
    QCOMPARE(loginButton->geometry(), QRect(48, 120, 80, 32));
    QCOMPARE(login.as<QAbstractButton>(u"按钮1"_qs)->text(), u"退出"_qs);
    QCOMPARE(login.as<QLabel>(u"标签1"_qs)->text(), u"用户名："_qs);
    QCOMPARE(login.as<QLabel>(u"标签2"_qs)->text(), u"密码："_qs);
    QVERIFY(login.as<QComboBox>(u"用户_组合框"_qs));
    QCOMPARE(login.control(u"用户_组合框"_qs)->geometry(), QRect(80, 39, 171, 20));
    // The login password box is plain.
    auto* loginPassword = login.as<QLineEdit>(u"编辑框2"_qs);
    QVERIFY(loginPassword);
    QCOMPARE(loginPassword->echoMode(), QLineEdit::Normal);
    QCOMPARE(login.control(u"外部数据库1"_qs)->property(kKindProperty).toString(),
             u"database connection"_qs);
    QVERIFY(login.control(u"外部数据库1"_qs)->isHidden());
    QCOMPARE(login.control(u"透明标签1"_qs)->property(kKindProperty).toString(),
             u"transparent label"_qs);

    const Built password = build(u"PasswordWindow"_qs);
    auto* tabs = password.as<QTabWidget>(u"选择夹1"_qs);
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QString());
    QCOMPARE(tabs->geometry(), QRect(0, 0, 504, 256));
    for (const QString& name : {u"编辑框1"_qs, u"编辑框2"_qs, u"编辑框3"_qs}) {
        auto* edit = password.as<QLineEdit>(name);
        QVERIFY2(edit, qPrintable(name));
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->parentWidget(), tabs->widget(0));
    }
    QCOMPARE(password.as<QLabel>(u"标签1"_qs)->text(), u"旧密码"_qs);
    // Trailing blank kept.
    QCOMPARE(password.as<QLabel>(u"标签2"_qs)->text(), u"新密码 "_qs);
    QCOMPARE(password.as<QLabel>(u"标签3"_qs)->text(), u"新密码再次输入"_qs);
    QCOMPARE(password.as<QAbstractButton>(u"按钮1"_qs)->text(), u"修改"_qs);
    QCOMPARE(password.control(u"按钮2"_qs)->geometry(), QRect(200, 144, 80, 32));
}

void TestCatalogue::searchWindowLiterals()
{
    const Built search = build(u"SearchWindow"_qs);
    QCOMPARE(search.as<QLabel>(u"标签1"_qs)->text(), u">>>>>>支持模糊查找<<<<<<<<"_qs);
    QCOMPARE(search.as<QAbstractButton>(u"单选框1"_qs)->text(), u"库存分类"_qs);
    QCOMPARE(search.as<QAbstractButton>(u"单选框2"_qs)->text(), u"名称"_qs);
    QCOMPARE(search.as<QAbstractButton>(u"单选框3"_qs)->text(), u"型号"_qs);
    QCOMPARE(search.as<QAbstractButton>(u"搜索按钮1"_qs)->text(), u"搜索"_qs);
    QCOMPARE(search.control(u"搜索按钮1"_qs)->geometry(), QRect(200, 9, 50, 25));

    // Tab goes category, name, model; the combo boxes start empty.
    const QStringList combos = {u"库存分类_组合框"_qs, u"名称_组合框"_qs, u"型号_组合框"_qs};
    const WindowDef* def = findWindowDef(u"SearchWindow"_qs);
    QVERIFY(def);
    for (int i = 0; i < combos.size(); ++i) {
        auto* combo = search.as<QComboBox>(combos.at(i));
        QVERIFY2(combo, qPrintable(combos.at(i)));
        QCOMPARE(combo->count(), 0);
        QCOMPARE(combo->geometry(), QRect(92, 9 + 24 * i, 100, 20));
        const auto record =
            std::find_if(def->controls.cbegin(), def->controls.cend(),
                         [&](const ControlDef& c) { return c.name == combos.at(i); });
        QVERIFY(record != def->controls.cend());
        QCOMPARE(record->tabOrder, i + 1);
    }
    QVERIFY(tabOrderProblems(*def, search).isEmpty());
}

void TestCatalogue::printSettingsLiterals()
{
    const Built settings = build(u"PrintSettingsWindow"_qs);
    auto* tabs = settings.as<QTabWidget>(u"选择夹1"_qs);
    QVERIFY(tabs);
    QCOMPARE(tabCaptions(tabs), (QStringList{u"基本设置"_qs, u"行列设置"_qs, u"统计/颜色"_qs}));
    QCOMPARE(tabs->geometry(), QRect(7, 7, 380, 305));

    // The group boxes and what they hold.
    const QList<std::pair<QString, int>> groups = {
        {u"分组框1"_qs, 0}, {u"分组框2"_qs, 0}, {u"分组框5"_qs, 1}, {u"分组框6"_qs, 1},
        {u"分组框3"_qs, 2}, {u"分组框4"_qs, 2}, {u"分组框7"_qs, 2}};
    for (const auto& [name, page] : groups) {
        QWidget* group = settings.as<QGroupBox>(name);
        QVERIFY2(group, qPrintable(name));
        QCOMPARE(group->parentWidget(), tabs->widget(page));
    }
    QCOMPARE(settings.as<QGroupBox>(u"分组框3"_qs)->title(), u"合计/统计行"_qs);
    QCOMPARE(settings.as<QGroupBox>(u"分组框2"_qs)->title(), u"纸张设置:"_qs);
    QCOMPARE(settings.control(u"统计列表框"_qs)->parentWidget(), settings.control(u"分组框7"_qs));
    QCOMPARE(settings.control(u"显示列表框"_qs)->parentWidget(), settings.control(u"分组框5"_qs));
    QCOMPARE(settings.control(u"显示列表框"_qs)->property(kKindProperty).toString(),
             u"check list box"_qs);
    QCOMPARE(settings.control(u"显示列表框"_qs)->geometry(), QRect(6, 40, 104, 187));
    QCOMPARE(settings.control(u"标题颜色1"_qs)->property(kKindProperty).toString(),
             u"colour picker"_qs);
    QCOMPARE(settings.control(u"标题颜色1"_qs)->parentWidget(), settings.control(u"分组框4"_qs));
    QCOMPARE(settings.control(u"选择字体对话框"_qs)->property(kKindProperty).toString(),
             u"common dialog"_qs);

    QCOMPARE(comboItems(settings.as<QComboBox>(u"页号位置"_qs)),
             (QStringList{u"无页号"_qs, u"上左"_qs, u"上中"_qs, u"上右"_qs, u"下左"_qs, u"下中"_qs,
                          u"下右"_qs}));
    const QStringList papers = comboItems(settings.as<QComboBox>(u"纸张"_qs));
    QCOMPARE(papers.size(), 8);
    QCOMPARE(papers.at(1), u"A4纸(210x297毫米)"_qs);
    QCOMPARE(papers.at(7), u"三十二开(97x151毫米)"_qs);

    auto* custom = settings.as<ReportList>(u"自定义列表框"_qs);
    QVERIFY(custom);
    QCOMPARE(columnTitles(custom), (QStringList{u"列名"_qs, u"公式"_qs}));
    QCOMPARE(columnWidths(custom), (QList<int>{70, 150}));

    QCOMPARE(settings.as<QLineEdit>(u"字体大小"_qs)->text(), u"30"_qs);
    QCOMPARE(settings.as<QLineEdit>(u"新增列保留位数"_qs)->text(), u"2"_qs);
    QCOMPARE(settings.as<QLineEdit>(u"统计行保留位数"_qs)->text(), u"2"_qs);
    QCOMPARE(settings.as<QLabel>(u"标签18"_qs)->text(), u"提示：右键选择进行修改、删除操作。"_qs);
    QCOMPARE(settings.as<QLabel>(u"标签21"_qs)->text(), u"---- [自定义列] ----"_qs);
    QCOMPARE(settings.as<QAbstractButton>(u"自配色"_qs)->text(), u"自带配色"_qs);
    QCOMPARE(settings.as<QAbstractButton>(u"不打合计"_qs)->text(), u"不打印"_qs);
    QCOMPARE(settings.as<QAbstractButton>(u"线型1"_qs)->text(), u"~"_qs);
    QCOMPARE(settings.as<QAbstractButton>(u"类别2"_qs)->text(), QString());
    QCOMPARE(settings.control(u"保存配置"_qs)->parentWidget(), settings.host.get());
    QCOMPARE(settings.control(u"打印预览"_qs)->geometry(), QRect(125, 321, 64, 26));

    // 右键菜单 is a pop-up: the bar stays empty.
    QVERIFY(settings.menuBar->actions().isEmpty());
    QMenu* popup = settings.window.menus.value(u"右键菜单"_qs);
    QVERIFY(popup);
    QCOMPARE(texts(popup->actions()), (QStringList{u"修改"_qs, u"删除"_qs}));
}

void TestCatalogue::formulaWindowsLiterals()
{
    const WindowDef* add = findWindowDef(u"FormulaWindow"_qs);
    const WindowDef* edit = findWindowDef(u"FormulaEditWindow"_qs);
    QVERIFY(add && edit);
    QCOMPARE(add->caption, u"公式设置"_qs);
    QCOMPARE(edit->caption, u"修改公式设置"_qs);

    for (const QString& name : {u"FormulaWindow"_qs, u"FormulaEditWindow"_qs}) {
        const Built formula = build(name);
        QCOMPARE(formula.as<QLabel>(u"标签5"_qs)->text(),
                 u"运算符号说明:“+”、“-”、“*”、“/”、括号嵌套。"_qs);
        QCOMPARE(formula.as<QLabel>(u"标签3"_qs)->text(),
                 u"公式样式:[第一列]*12(52+13)/(14-3)-[第三列]"_qs);
        QCOMPARE(formula.as<QLabel>(u"标签1"_qs)->text(), u"相关计算列:"_qs);
        QCOMPARE(formula.as<QAbstractButton>(u"确定"_qs)->geometry(), QRect(326, 9, 70, 22));
        QCOMPARE(formula.as<QAbstractButton>(u"取消"_qs)->text(), u"取消"_qs);
        QCOMPARE(formula.control(u"公式编辑框"_qs)->geometry(), QRect(82, 64, 238, 34));
        QVERIFY(formula.as<QComboBox>(u"列内容"_qs));
        QCOMPARE(formula.control(u"脚本组件1"_qs)->property(kKindProperty).toString(),
                 u"script component"_qs);
        QVERIFY(formula.control(u"脚本组件1"_qs)->isHidden());
    }
}

void TestCatalogue::helperWindowsLiterals()
{
    const Built stripe = build(u"StripeWindow"_qs);
    QCOMPARE(stripe.control(u"画板"_qs)->geometry(), QRect(8, 8, 5, 50));
    QCOMPARE(stripe.control(u"画板"_qs)->property(kKindProperty).toString(), u"draw panel"_qs);

    const Built exporter = build(u"ExportWindow"_qs);
    QCOMPARE(exporter.control(u"外部数据库1"_qs)->geometry(), QRect(8, 0, 32, 32));
    QVERIFY(exporter.control(u"外部数据库1"_qs)->isHidden());

    const Built progress = build(u"PreviewProgressWindow"_qs);
    QCOMPARE(progress.as<QLabel>(u"标签1"_qs)->text(), u"正在生成预览，请稍候..."_qs);
    QCOMPARE(progress.control(u"标签1"_qs)->geometry(), QRect(0, 0, 260, 40));
    QCOMPARE(progress.control(u"表格1"_qs)->property(kKindProperty).toString(), u"grid"_qs);
    QCOMPARE(progress.control(u"数据源1"_qs)->property(kKindProperty).toString(),
             u"data source"_qs);
    QCOMPARE(progress.control(u"时钟1"_qs)->property(kKindProperty).toString(), u"timer"_qs);
    QCOMPARE(progress.control(u"通用提供者1"_qs)->property(kKindProperty).toString(),
             u"data provider"_qs);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
