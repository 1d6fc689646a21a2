#pragma once
// A framed panel, used as a page title bar that holds other controls.

#include <QFrame>

namespace mv {

class ShapeBox : public QFrame
{
    Q_OBJECT
public:
    explicit ShapeBox(QWidget* parent = nullptr);
};

} // namespace mv
