#pragma once
// Lets a window built from the catalogue grow to show its controls whole at the font in use:
// the catalogue's positions were measured with a smaller system font, and at ours a tab
// page or group box can end above its last controls.

#include <QSize>

class QWidget;

namespace mv {

// Grows every group box and tab control of the window that ends above (or left of) its
// controls, moving the controls below (or right of) a grown one by as much, so the
// catalogue's layout is kept; then gives the window, whose catalogue size is designed,
// room by the same amount. The window keeps a fixed size.
void growToFitContents(QWidget* window, QSize designed);

} // namespace mv
