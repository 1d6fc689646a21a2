#include "widgets/linestylepicture.h"

#include <QPainter>

namespace mv {

QPixmap lineStylePicture(int style, QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::white);
    if (style < 1 || style > 4)
        return picture;
    constexpr int kRows = 4; // column titles and three rows
    constexpr int kColumns = 3;
    const QRect frame(1, 1, size.width() - 3, size.height() - 3);
    QPainter p(&picture);
    const double rowHeight = frame.height() / double(kRows);
    const double columnWidth = frame.width() / double(kColumns);
    p.fillRect(QRectF(frame.left(), frame.top(), frame.width(), rowHeight), QColor(210, 210, 210));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(frame);
    for (int r = 1; r < kRows; ++r) {
        // Style 2 keeps only the line under the column titles.
        if (style == 4 || (style == 2 && r > 1))
            continue;
        const double y = frame.top() + r * rowHeight;
        p.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
    }
    if (style == 1 || style == 4) {
        for (int c = 1; c < kColumns; ++c) {
            const double x = frame.left() + c * columnWidth;
            p.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
        }
    }
    return picture;
}

} // namespace mv
