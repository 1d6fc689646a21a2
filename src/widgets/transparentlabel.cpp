#include "widgets/transparentlabel.h"

namespace mv {

TransparentLabel::TransparentLabel(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

} // namespace mv
