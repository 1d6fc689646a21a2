#include "widgets/nonvisualcontrol.h"

namespace mv {

NonVisualControl::NonVisualControl(QWidget* parent) : QWidget(parent)
{
    QWidget::setVisible(false);
}

void NonVisualControl::setVisible(bool)
{
    QWidget::setVisible(false);
}

} // namespace mv
