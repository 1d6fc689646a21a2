#include "widgets/tabcontrol.h"

#include <QTabBar>
#include <QWheelEvent>

namespace mv {

namespace {

// The main window's toolbars do not follow its tabs: a page reached by a wheel turned over the
// tabs while scrolling showed the receipt's 保存 beside an empty requisition, where it did
// nothing. A tab is changed by a click.
class TabStrip : public QTabBar
{
public:
    using QTabBar::QTabBar;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

} // namespace

TabControl::TabControl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new TabStrip(this));
}

int TabControl::addPage(const QString& caption)
{
    auto* page = new QWidget(this); // reparented to the tab's stack by addTab
    page->setObjectName(objectName() % u"_page" % QString::number(count()));
    return addTab(page, caption);
}

} // namespace mv
