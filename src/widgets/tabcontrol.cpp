#include "widgets/tabcontrol.h"

namespace mv {

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) {}

int TabControl::addPage(const QString& caption)
{
    auto* page = new QWidget(this); // reparented to the tab's stack by addTab
    page->setObjectName(objectName() % u"_page" % QString::number(count()));
    return addTab(page, caption);
}

} // namespace mv
