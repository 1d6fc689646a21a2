// The generic window builder on a small hand-written definition: parents resolved in a
// second pass, a tab control without pages, combo kinds, tab order, menus, a missing control.

#include "forms/windowbuilder.h"
#include "support/pointer.h"
#include "widgets/combobox.h"
#include "widgets/nonvisualcontrol.h"
#include "widgets/tabcontrol.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace mv;

namespace {

ControlDef controlDef(const QString& name, ControlKind kind, QRect geometry)
{
    ControlDef def;
    def.name = name;
    def.kind = kind;
    def.left = geometry.left();
    def.top = geometry.top();
    def.width = geometry.width();
    def.height = geometry.height();
    return def;
}

WindowDef sampleWindow()
{
    WindowDef def;
    def.name = u"SampleWindow"_qs;

    // Listed before its parent group box, which is listed before its tab control.
    ControlDef label = controlDef(u"标签1"_qs, ControlKind::Label, {10, 20, 60, 20});
    label.parent = u"分组框1"_qs;
    label.caption = u"名称："_qs;
    ControlDef edit = controlDef(u"编辑框1"_qs, ControlKind::EditBox, {80, 20, 100, 20});
    edit.parent = u"分组框1"_qs;
    edit.caption = u"初始"_qs;
    edit.tabOrder = 2;
    ControlDef group = controlDef(u"分组框1"_qs, ControlKind::GroupBox, {5, 5, 200, 80});
    group.parent = u"选择夹1"_qs;
    group.page = 1;
    group.caption = u"分组"_qs;
    ControlDef tabs = controlDef(u"选择夹1"_qs, ControlKind::TabControl, {0, 30, 400, 300});
    tabs.items = {u"主窗口"_qs, u"库存"_qs};
    ControlDef list = controlDef(u"超级列表框1"_qs, ControlKind::ReportList, {5, 5, 300, 200});
    list.parent = u"选择夹1"_qs;
    list.page = 0;
    list.columns = {{u"编号"_qs, 50}, {u"名称"_qs, 150}};
    ControlDef combo = controlDef(u"组合框1"_qs, ControlKind::ComboBox, {210, 5, 80, 20});
    combo.tabOrder = 1;
    ControlDef fixedCombo = controlDef(u"页号位置"_qs, ControlKind::ComboBox, {210, 5, 80, 20});
    fixedCombo.items = {u"无页号"_qs, u"上左"_qs};
    ControlDef button = controlDef(u"按钮1"_qs, ControlKind::Button, {300, 5, 50, 20});
    button.caption = u"搜索"_qs;
    button.visible = false;
    ControlDef disabled = controlDef(u"按钮2"_qs, ControlKind::Button, {350, 5, 50, 20});
    disabled.caption = u"退出"_qs;
    disabled.enabled = false;
    ControlDef password = controlDef(u"编辑框2"_qs, ControlKind::EditBox, {80, 50, 100, 20});
    password.password = true;
    ControlDef toolbar = controlDef(u"工具条1"_qs, ControlKind::ToolBar, {176, 0, 0, 0});
    toolbar.items = {u"采购入库"_qs, u"-"_qs, u"退出"_qs};
    ControlDef connection =
        controlDef(u"外部数据库1"_qs, ControlKind::DatabaseConnection, {1, 1, 32, 32});
    // A tab control defined without pages: a child on page 0 gets an untitled page.
    ControlDef bare = controlDef(u"选择夹2"_qs, ControlKind::TabControl, {0, 0, 100, 100});
    ControlDef onBare = controlDef(u"标签2"_qs, ControlKind::Label, {4, 4, 40, 20});
    onBare.parent = u"选择夹2"_qs;
    onBare.page = 0;
    onBare.caption = u"旧密码"_qs;

    def.controls = {label,  edit,     group,    tabs,    list,       combo, fixedCombo,
                    button, disabled, password, toolbar, connection, bare,  onBare};

    auto top = [](const QString& caption, bool visible = true) {
        MenuDef m;
        m.caption = caption;
        m.topLevel = true;
        m.visible = visible;
        return m;
    };
    auto item = [](const QString& caption, bool enabled = true) {
        MenuDef m;
        m.caption = caption;
        m.enabled = enabled;
        return m;
    };
    MenuDef separator;
    separator.separator = true;
    def.menu = {top(u"系统"_qs),        item(u"数据备份"_qs),       separator, item(u"退出"_qs),
                top(u"导入"_qs, false), item(u"记录"_qs),           separator, item(u"刷新"_qs),
                top(u"用户"_qs),        item(u"用户管理"_qs, false)};
    return def;
}

} // namespace

class TestWindowBuilder : public QObject
{
    Q_OBJECT

private slots:
    // What the catalogue's windows do not show (tests/forms checks every control of the
    // catalogue against its record): parents defined after their children, a tab control
    // without pages, editable and fixed combo boxes, non-visual controls.
    void resolvesParentsAndKinds()
    {
        QWidget host;
        const BuiltWindow built = buildWindow(sampleWindow(), &host);
        QCOMPARE(built.controls.size(), 14);

        auto* tabs = control<TabControl>(&host, u"选择夹1"_qs);
        QCOMPARE(tabs->count(), 2);
        test::turnWheel(tabs->tabBar()); // a tab changes by a click only
        QCOMPARE(tabs->currentIndex(), 0);
        auto* group = control<QGroupBox>(&host, u"分组框1"_qs);
        QCOMPARE(group->parentWidget(), tabs->page(1));
        QCOMPARE(control<QLabel>(&host, u"标签1"_qs)->parentWidget(), group);

        auto* bare = control<TabControl>(&host, u"选择夹2"_qs);
        QCOMPARE(bare->count(), 1);
        QCOMPARE(bare->tabText(0), QString());
        // Untitled pages are the window's background: no empty tab shows above them.
        QVERIFY(bare->tabBar()->isHidden() && !tabs->tabBar()->isHidden());
        QCOMPARE(control<QWidget>(&host, u"标签2"_qs)->parentWidget(), bare->page(0));

        QVERIFY(control<ComboBox>(&host, u"组合框1"_qs)->isEditable());
        QVERIFY(!control<ComboBox>(&host, u"页号位置"_qs)->isEditable());
        QVERIFY(control<NonVisualControl>(&host, u"外部数据库1"_qs)->isHidden());
    }

    void tabOrder()
    {
        QWidget host;
        buildWindow(sampleWindow(), &host);
        // Explicit orders first (组合框1 = 1, 编辑框1 = 2), then as the window reads: 页号位置
        // on the window's top row, the list on the tab control below it, then 编辑框2.
        QWidget* combo = control<QWidget>(&host, u"组合框1"_qs);
        QStringList seen;
        QWidget* w = combo;
        for (int i = 0; i < 200 && seen.size() < 4; ++i) {
            w = w->nextInFocusChain();
            const QString name = w->objectName();
            if (!name.isEmpty() && !seen.contains(name) &&
                (name == u"编辑框1" || name == u"超级列表框1" || name == u"页号位置" ||
                 name == u"编辑框2"))
                seen.append(name);
        }
        QCOMPARE(seen,
                 (QStringList{u"编辑框1"_qs, u"页号位置"_qs, u"超级列表框1"_qs, u"编辑框2"_qs}));
    }

    void menuActionsLeaveOutSeparators()
    {
        QWidget host;
        QMenuBar bar(&host);
        const BuiltWindow built = buildWindow(sampleWindow(), &host, &bar);
        QCOMPARE(built.menus.size(), 3);
        QCOMPARE(built.menuActions.size(), 5);
        QCOMPARE(host.findChild<QMenu*>(u"导入"_qs), built.menus.value(u"导入"_qs));
    }

    void missingControlIsFatalInEveryBuild()
    {
        // Run in a child process of this test program, which the lookup ends.
        if (qEnvironmentVariableIsSet("MORVANE_LOOK_UP_MISSING_CONTROL")) {
            QWidget window;
            window.setObjectName(u"SomeWindow"_qs);
            QWidget host(&window);
            host.setObjectName(u"SomeWindowClient"_qs);
            new QLabel(u"x"_qs, &host);
            control<QPushButton>(&host, u"按钮9"_qs);
            QFAIL("the lookup of a missing control returned");
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"MORVANE_LOOK_UP_MISSING_CONTROL"_qs, u"1"_qs);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"missingControlIsFatalInEveryBuild"_qs});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::CrashExit, qPrintable(output));
        QVERIFY2(output.contains(u"SomeWindow/SomeWindowClient has no control 按钮9 of type "
                                 u"QPushButton"_qs),
                 qPrintable(output));
    }

    void menusWithoutBar()
    {
        QWidget host;
        const BuiltWindow built = buildWindow(sampleWindow(), &host);
        QCOMPARE(built.menus.value(u"系统"_qs)->parent(), &host);
    }
};

QTEST_MAIN(TestWindowBuilder)
#include "tst_windowbuilder.moc"
