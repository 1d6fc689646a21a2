#include "widgets/shapebox.h"

namespace mv {

ShapeBox::ShapeBox(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
}

} // namespace mv
