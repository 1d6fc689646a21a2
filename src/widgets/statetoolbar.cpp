#include "widgets/statetoolbar.h"

#include <QAction>
#include <QEvent>
#include <QToolButton>

namespace mv {

StateToolBar::StateToolBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    connect(this, &QObject::objectNameChanged, this, &StateToolBar::nameActions);
}

void StateToolBar::addButtons(const QStringList& captions)
{
    for (const QString& caption : captions) {
        const int index = int(m_entries.size());
        QAction* action = nullptr;
        if (caption == u"-") {
            action = addSeparator();
        } else {
            action = addAction(caption);
            connect(action, &QAction::triggered, this,
                    [this, index] { emit buttonClicked(index); });
            if (QWidget* button = widgetForAction(action))
                button->installEventFilter(this); // see eventFilter: no caption tooltips
        }
        m_entries.append(Entry{action, 0});
    }
    nameActions();
}

QAction* StateToolBar::buttonAction(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).action : nullptr;
}

bool StateToolBar::isSeparator(int index) const
{
    const QAction* action = buttonAction(index);
    return action && action->isSeparator();
}

void StateToolBar::setButtonTooltip(int index, const QString& text)
{
    if (QAction* action = buttonAction(index)) {
        action->setToolTip(text);
        m_entries[index].hasTooltip = !text.isEmpty();
    }
}

bool StateToolBar::eventFilter(QObject* watched, QEvent* event)
{
    // An action without a tooltip of its own reports its caption as one; such a button
    // shows nothing.
    if (event->type() == QEvent::ToolTip) {
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            for (const Entry& entry : std::as_const(m_entries))
                if (entry.action == button->defaultAction() && !entry.hasTooltip)
                    return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}

void StateToolBar::addState(int index, int flags)
{
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries[index].flags |= flags;
    applyState(index);
}

void StateToolBar::removeState(int index, int flags)
{
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries[index].flags &= ~flags;
    applyState(index);
}

int StateToolBar::state(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).flags : 0;
}

// Read from the flags: a hidden QAction also reports itself disabled.
bool StateToolBar::isButtonVisible(int index) const
{
    return buttonAction(index) && !(state(index) & Hidden);
}

bool StateToolBar::isButtonEnabled(int index) const
{
    return buttonAction(index) && !(state(index) & Disabled);
}

void StateToolBar::applyState(int index)
{
    const Entry& entry = m_entries.at(index);
    entry.action->setVisible(!(entry.flags & Hidden));
    entry.action->setEnabled(!(entry.flags & Disabled));
}

void StateToolBar::nameActions()
{
    const QString base = objectName();
    for (int i = 0; i < m_entries.size(); ++i) {
        const QString name = base % u'_' % QString::number(i);
        QAction* action = m_entries.at(i).action;
        action->setObjectName(name);
        if (QWidget* button = widgetForAction(action))
            button->setObjectName(name);
    }
}

} // namespace mv
