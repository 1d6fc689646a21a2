#pragma once
// A button that shows a colour and lets the user pick another.

#include <QColor>
#include <QToolButton>

namespace mv {

class ColourPicker : public QToolButton
{
    Q_OBJECT
public:
    explicit ColourPicker(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);

private:
    void chooseColor();
    void updateSwatch();

    QColor m_color = Qt::white;
};

} // namespace mv
