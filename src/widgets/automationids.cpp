#include "widgets/automationids.h"

#include "widgets/menuitemaccessible.h"
#include "widgets/statetoolbar.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QToolButton>

namespace mv {

namespace {

void setDescription(QWidget* widget, const QString& text)
{
    if (!text.isEmpty() && widget->accessibleDescription() != text)
        widget->setAccessibleDescription(text);
}

class AutomationIdFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Polish || event->type() == QEvent::Show) &&
            watched->isWidgetType())
            applyAutomationIds(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

void applyAutomationIds(QWidget* widget)
{
    if (!widget)
        return;
    if (auto* button = qobject_cast<QToolButton*>(widget);
        button && qobject_cast<StateToolBar*>(button->parentWidget())) {
        // A toolbar button takes its action's "<toolbar>_<index>" name.
        if (QAction* action = button->defaultAction(); action && !action->objectName().isEmpty())
            if (button->objectName() != action->objectName())
                button->setObjectName(action->objectName());
    }
    setDescription(widget, widget->objectName());
}

void installAutomationIds(QApplication& app)
{
    if (qEnvironmentVariable("MORVANE_AUTOMATION_IDS") != u"1")
        return;
    static const char kInstalled[] = "morvaneAutomationIds";
    if (app.property(kInstalled).toBool())
        return;
    app.setProperty(kInstalled, true);
    app.installEventFilter(new AutomationIdFilter(&app));
    // Menu items are no widgets, and Qt's own interface for them has no description.
    QAccessible::installFactory(&MenuItemAccessible::create);
}

} // namespace mv
