#pragma once
// A small canvas: a background colour, a brush colour for filled rectangles, and its
// content as a picture.

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace mv {

class DrawPanel : public QWidget
{
    Q_OBJECT
public:
    explicit DrawPanel(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_background; }
    // Sets the colour and clears the picture to it.
    void setBackgroundColor(const QColor& color);
    QColor brushColor() const { return m_brush; }
    void setBrushColor(const QColor& color) { m_brush = color; }
    QColor penColor() const { return m_pen; }
    void setPenColor(const QColor& color) { m_pen = color; }

    // Fills the rectangle with the brush colour, outlined with the pen colour.
    void fillRect(const QRect& rect);
    // The panel's content at its current size.
    QPixmap picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensurePictureSize() const;

    QColor m_background = Qt::white;
    QColor m_brush = Qt::white;
    QColor m_pen = Qt::white;
    mutable QPixmap m_picture;
};

} // namespace mv
