#pragma once
// Pictures drawn by the program itself: toolbar icons and the banner.

#include <QPixmap>
#include <QSize>

namespace mv {

class StateToolBar;

// Gives every button of both toolbars a small drawn icon.
void applyToolBarIcons(StateToolBar& mainBar, StateToolBar& auxBar);

// The banner picture of the main window (clicking it shows the home page).
QPixmap bannerPicture(const QSize& size);

} // namespace mv
