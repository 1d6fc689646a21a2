#include "widgets/automationids.h"

#include "widgets/menuitemaccessible.h"
#include "widgets/statetoolbar.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace mv {

namespace {

void setDescription(QWidget* widget, const QString& text)
{
    if (!text.isEmpty() && widget->accessibleDescription() != text)
        widget->setAccessibleDescription(text);
}

// The text of the nearest label on the same row to the left of the widget, without a
// trailing colon.
QString labelBeside(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (!parent)
        return {};
    const QRect box = widget->geometry();
    const QLabel* nearest = nullptr;
    for (const QObject* child : parent->children()) {
        const auto* label = qobject_cast<const QLabel*>(child);
        if (!label || label->text().isEmpty())
            continue;
        const QRect area = label->geometry();
        const bool sameRow = area.top() <= box.bottom() && area.bottom() >= box.top();
        const bool toTheLeft = area.center().x() < box.left();
        if (!sameRow || !toTheLeft)
            continue;
        if (!nearest || area.right() > nearest->geometry().right())
            nearest = label;
    }
    if (!nearest)
        return {};
    QString text = nearest->text().trimmed();
    while (text.endsWith(u'：') || text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
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

    const bool isEdit =
        (qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parentWidget()) &&
         !qobject_cast<QAbstractSpinBox*>(widget->parentWidget())) ||
        qobject_cast<QComboBox*>(widget);
    if (isEdit && widget->accessibleName().isEmpty()) {
        const QString name = labelBeside(widget);
        if (!name.isEmpty())
            widget->setAccessibleName(name);
    }
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
