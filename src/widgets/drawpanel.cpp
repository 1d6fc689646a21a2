#include "widgets/drawpanel.h"

#include <QPainter>

namespace mv {

DrawPanel::DrawPanel(QWidget* parent) : QWidget(parent) {}

void DrawPanel::setBackgroundColor(const QColor& color)
{
    m_background = color;
    m_picture = QPixmap();
    ensurePictureSize();
    update();
}

void DrawPanel::fillRect(const QRect& rect)
{
    ensurePictureSize();
    if (m_picture.isNull())
        return;
    QPainter painter(&m_picture);
    painter.fillRect(rect, m_brush);
    if (m_pen != m_brush && rect.width() > 1 && rect.height() > 1) {
        painter.setPen(m_pen);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    update();
}

QPixmap DrawPanel::picture() const
{
    ensurePictureSize();
    return m_picture;
}

void DrawPanel::ensurePictureSize() const
{
    // A hidden panel gets no resize events, so the picture follows the size on demand.
    if (m_picture.size() == size())
        return;
    if (width() <= 0 || height() <= 0) {
        m_picture = QPixmap();
        return;
    }
    QPixmap resized(size());
    resized.fill(m_background);
    if (!m_picture.isNull()) {
        QPainter painter(&resized);
        painter.drawPixmap(0, 0, m_picture);
    }
    m_picture = resized;
}

void DrawPanel::paintEvent(QPaintEvent*)
{
    ensurePictureSize();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void DrawPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ensurePictureSize();
}

} // namespace mv
