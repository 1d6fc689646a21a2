#include "forms/fittocontents.h"

#include "widgets/tabcontrol.h"

#include <QGroupBox>
#include <QWidget>

namespace mv {

namespace {

// Room kept between a container's edge and its last control.
constexpr int kRoom = 4;

QList<QWidget*> controlsOf(QWidget* container)
{
    QList<QWidget*> controls;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !child->isWindow())
            controls.append(child);
    return controls;
}

// The lower right corner of the container's controls.
QSize extentOf(QWidget* container)
{
    QSize extent;
    for (QWidget* control : controlsOf(container)) {
        const QRect r = control->geometry();
        extent = extent.expandedTo(QSize(r.x() + r.width(), r.y() + r.height()));
    }
    return extent;
}

// Grows a control and moves its siblings below it down, and those right of it right.
void grow(QWidget* control, QSize by)
{
    if (by.width() <= 0 && by.height() <= 0)
        return;
    const QRect old = control->geometry();
    control->resize(old.size() + by.expandedTo(QSize(0, 0)));
    for (QWidget* sibling : controlsOf(control->parentWidget())) {
        if (sibling == control)
            continue;
        const QRect s = sibling->geometry();
        QPoint shift;
        if (by.height() > 0 && s.top() >= old.bottom())
            shift.ry() = by.height();
        if (by.width() > 0 && s.left() >= old.right() && s.top() < old.bottom() &&
            s.bottom() > old.top())
            shift.rx() = by.width();
        sibling->move(s.topLeft() + shift);
    }
}

void fitChildren(QWidget* container);

void fitGroupBox(QGroupBox* box)
{
    fitChildren(box);
    const QSize needed = extentOf(box) + QSize(kRoom, kRoom);
    grow(box, needed - box->size());
}

void fitTabControl(TabControl* tabs)
{
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->page(i);
        fitChildren(page);
        page->setMinimumSize(extentOf(page) + QSize(kRoom, kRoom));
    }
    tabs->ensurePolished();
    grow(tabs, tabs->minimumSizeHint() - tabs->size());
}

void fitChildren(QWidget* container)
{
    for (QWidget* control : controlsOf(container)) {
        if (auto* tabs = qobject_cast<TabControl*>(control))
            fitTabControl(tabs);
        else if (auto* box = qobject_cast<QGroupBox*>(control))
            fitGroupBox(box);
    }
}

} // namespace

void growToFitContents(QWidget* window, QSize designed)
{
    window->ensurePolished();
    const QSize before = extentOf(window);
    fitChildren(window);
    window->setFixedSize(designed + (extentOf(window) - before).expandedTo(QSize(0, 0)));
}

} // namespace mv
