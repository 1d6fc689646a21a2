#pragma once
// The striped background of a report list: a tiled picture of two rows, white over
// light yellow, whose height follows the list's font size.

#include <QColor>

namespace mv {

class ReportList;

inline const QColor kStripeYellow{255, 255, 223};

// The picture height (two rows) for a list font of pointSize points; 0 means no stripes.
int stripePictureHeight(int pointSize, bool hasIcons);

// Gives the list its striped background. A font under 5 points is first raised to 5 points.
void applyStripedBackground(ReportList* list);

} // namespace mv
