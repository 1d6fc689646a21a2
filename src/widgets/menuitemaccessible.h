#pragma once
// The accessibility interface of a menu or menu-bar item that also publishes the action's
// objectName as its description (Qt's own menu items answer only their caption). Installed
// by the automation ids; behaves like Qt's item otherwise: role, state, geometry, the
// sub-menu as its child, and the press / show-menu actions.

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;

namespace mv {

class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit MenuItemAccessible(QAction* action);

    // The factory for QAccessible::installFactory: answers for actions shown in a menu or bar.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QWidget* owner() const; // the menu or menu bar that shows the action

    QPointer<QAction> m_action;
};

} // namespace mv
