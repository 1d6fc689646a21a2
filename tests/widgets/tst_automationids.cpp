// Automation ids with MORVANE_AUTOMATION_IDS=1: objectNames reach the accessibility
// interfaces of widgets, toolbar buttons and menu items.

#include "widgets/automationids.h"
#include "widgets/combobox.h"
#include "widgets/editbox.h"
#include "widgets/statetoolbar.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace mv;

namespace {

QString description(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Description) : QString();
}

QAccessibleInterface* menuItem(QMenu* menu, const QString& text)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; iface && i < iface->childCount(); ++i)
        if (QAccessibleInterface* child = iface->child(i);
            child && child->text(QAccessible::Name) == text)
            return child;
    return nullptr;
}

} // namespace

class TestAutomationIds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("MORVANE_AUTOMATION_IDS", "1");
        installAutomationIds(*qApp);
        installAutomationIds(*qApp); // a second call adds nothing
    }

    void widgetsCarryTheirNames()
    {
        QWidget window;
        window.setObjectName(u"LoginWindow"_qs);
        auto* button = new QWidget(&window);
        button->setObjectName(u"按钮2"_qs);
        auto* unnamed = new QLabel(u"x"_qs, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.accessibleDescription(), u"LoginWindow"_qs);
        QCOMPARE(button->accessibleDescription(), u"按钮2"_qs);
        QCOMPARE(description(button), u"按钮2"_qs);
        QCOMPARE(unnamed->accessibleDescription(), QString());
    }

    void toolbarButtons()
    {
        QWidget window;
        auto* bar = new StateToolBar(&window);
        bar->addButtons({u"采购入库"_qs, u"-"_qs, u"退出"_qs});
        bar->setObjectName(u"工具条1"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* exit = qobject_cast<QToolButton*>(bar->widgetForAction(bar->buttonAction(2)));
        QVERIFY(exit);
        QCOMPARE(exit->objectName(), u"工具条1_2"_qs);
        QCOMPARE(description(exit), u"工具条1_2"_qs);
    }

    void menuItems()
    {
        QWidget window;
        auto* bar = new QMenuBar(&window);
        QMenu* system = bar->addMenu(u"系统"_qs);
        system->setObjectName(u"系统"_qs);
        QAction* quit = system->addAction(u"退出"_qs);
        quit->setObjectName(u"系统_退出"_qs);
        auto* popup = new QMenu(u"导入"_qs, &window);
        popup->setObjectName(u"导入"_qs);
        popup->addAction(u"刷新"_qs)->setObjectName(u"导入_刷新"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        system->ensurePolished();
        popup->ensurePolished();

        QAccessibleInterface* item = menuItem(system, u"退出"_qs);
        QVERIFY(item);
        QCOMPARE(item->text(QAccessible::Description), u"系统_退出"_qs);
        QAccessibleInterface* refresh = menuItem(popup, u"刷新"_qs);
        QVERIFY(refresh);
        QCOMPARE(refresh->text(QAccessible::Description), u"导入_刷新"_qs);
        QCOMPARE(description(popup), u"导入"_qs);

        // The item still behaves as a menu item: role, state, pressing it.
        QCOMPARE(item->role(), QAccessible::MenuItem);
        QCOMPARE(item->parent()->object(), system);
        QSignalSpy triggered(quit, &QAction::triggered);
        QAccessibleActionInterface* actions = item->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(triggered.count(), 0); // queued: a modal dialog must not hold the request
        QTRY_COMPARE(triggered.count(), 1);
        quit->setEnabled(false);
        QVERIFY(item->state().disabled);
        QVERIFY(actions->actionNames().isEmpty());

        // The bar's entry carries its menu's name and leads to the menu.
        QAccessibleInterface* barIface = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(barIface && barIface->childCount() == 1);
        QAccessibleInterface* entry = barIface->child(0);
        QCOMPARE(entry->text(QAccessible::Name), u"系统"_qs);
        QCOMPARE(entry->text(QAccessible::Description), u"系统"_qs);
        QCOMPARE(entry->childCount(), 1);
        QCOMPARE(entry->child(0)->object(), system);
        QVERIFY(entry->state().hasPopup);
    }
};

QTEST_MAIN(TestAutomationIds)
#include "tst_automationids.moc"
