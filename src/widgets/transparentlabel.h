#pragma once
// A label drawn without a background of its own.

#include <QLabel>

namespace mv {

class TransparentLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TransparentLabel(QWidget* parent = nullptr);
};

} // namespace mv
