#pragma once
// The mark of a tab page whose figures could not be read afresh: the page keeps what it
// showed before, and its caption ends in "（未刷新）" until it is filled again.

#include <QString>

namespace mv {

class TabControl;

QString notRefreshedMark();

// Adds the mark to the page's caption, or takes it away; a page already so is left alone.
void setNotRefreshed(TabControl& tabs, int page, bool notRefreshed);
bool isNotRefreshed(const TabControl& tabs, int page);

} // namespace mv
