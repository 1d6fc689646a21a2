#pragma once
// Small pictures of the four line styles of a printed report, shown on the settings window's
// line-style radio buttons: a table of column titles and three rows drawn as it would print.

#include <QPixmap>
#include <QSize>

namespace mv {

// Style 1: every line; 2: the frame and the line under the column titles; 3: the frame and
// the lines between rows; 4: the frame and the lines between columns. Other styles: blank.
QPixmap lineStylePicture(int style, QSize size);

} // namespace mv
