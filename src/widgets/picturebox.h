#pragma once
// A picture control that reports a left button press.

#include <QLabel>

namespace mv {

class PictureBox : public QLabel
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

signals:
    void leftButtonDown();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace mv
