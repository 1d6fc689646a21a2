#include "widgets/statuspanes.h"

#include <QLabel>

namespace mv {

StatusPanes::StatusPanes(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

int StatusPanes::addPane(int width)
{
    auto* label = new QLabel(this);
    label->setFixedWidth(std::max(0, width));
    label->setObjectName(objectName() % u"_pane" % QString::number(m_panes.size()));
    addWidget(label);
    m_panes.append(label);
    return int(m_panes.size()) - 1;
}

void StatusPanes::setPaneText(int index, const QString& text)
{
    if (QLabel* label = pane(index))
        label->setText(text);
}

QString StatusPanes::paneText(int index) const
{
    const QLabel* label = pane(index);
    return label ? label->text() : QString();
}

QLabel* StatusPanes::pane(int index) const
{
    return index >= 0 && index < m_panes.size() ? m_panes.at(index) : nullptr;
}

} // namespace mv
