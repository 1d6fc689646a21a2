#include "widgets/picturebox.h"

#include <QMouseEvent>

namespace mv {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setScaledContents(true);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit leftButtonDown();
    QLabel::mousePressEvent(event);
}

} // namespace mv
