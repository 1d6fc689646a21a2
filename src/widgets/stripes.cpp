#include "widgets/stripes.h"

#include "widgets/reportlist.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>

namespace mv {

int stripePictureHeight(int pointSize, bool hasIcons)
{
    if (hasIcons && pointSize <= 10)
        return 32;
    if (pointSize <= 5)
        return 16;
    static constexpr int kSmall[] = {18, 20, 24, 26, 28};                     // 6 .. 10
    static constexpr int kLarge[] = {32, 34, 36, 40, 42, 44, 48, 50, 52, 56}; // 11 .. 20
    if (pointSize <= 10)
        return kSmall[pointSize - 6];
    if (pointSize <= 20)
        return kLarge[pointSize - 11];
    return 0;
}

namespace {

int fontPointSize(const QWidget* widget)
{
    const QFont font = widget->font();
    if (font.pointSize() > 0)
        return font.pointSize();
    // A pixel-sized font: convert with the widget's resolution.
    return int(font.pixelSize() * 72.0 / std::max(1, widget->logicalDpiY()));
}

} // namespace

void applyStripedBackground(ReportList* list)
{
    if (!list)
        return;
    const bool hasIcons = false; // report lists carry no image list
    int points = fontPointSize(list);
    if (!hasIcons && points < 5) {
        QFont font = list->font();
        font.setPointSize(5);
        list->setFont(font);
        points = 5;
    }
    const int height = stripePictureHeight(points, hasIcons);
    QPalette palette = list->palette();
    if (height == 0) {
        palette.setBrush(QPalette::Base, QBrush(Qt::white));
        list->setPalette(palette);
        list->setStripePicture({});
        return;
    }

    // Two rows: the upper one white, the lower one light yellow.
    QPixmap picture(1, height);
    picture.fill(kStripeYellow);
    {
        QPainter painter(&picture);
        painter.fillRect(QRect(0, 0, 1, height / 2), Qt::white);
    }
    palette.setBrush(QPalette::Base, QBrush(picture));
    list->setPalette(palette);
    list->setAlternatingRowColors(false);
    list->setStripePicture(picture);

    QHeaderView* rows = list->verticalHeader();
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), height / 2));
    rows->setDefaultSectionSize(height / 2);
}

} // namespace mv
