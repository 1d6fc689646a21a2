#include "widgets/notrefreshed.h"

#include "widgets/tabcontrol.h"

namespace mv {

QString notRefreshedMark()
{
    return u"（未刷新）"_qs;
}

void setNotRefreshed(TabControl& tabs, int page, bool notRefreshed)
{
    if (isNotRefreshed(tabs, page) == notRefreshed)
        return;
    const QString caption = tabs.tabText(page);
    tabs.setTabText(page, notRefreshed ? caption + notRefreshedMark()
                                       : caption.chopped(notRefreshedMark().size()));
}

bool isNotRefreshed(const TabControl& tabs, int page)
{
    return tabs.tabText(page).endsWith(notRefreshedMark());
}

} // namespace mv
