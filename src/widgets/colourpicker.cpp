#include "widgets/colourpicker.h"

#include <QColorDialog>
#include <QPixmap>

namespace mv {

ColourPicker::ColourPicker(QWidget* parent) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(this, &QToolButton::clicked, this, &ColourPicker::chooseColor);
    updateSwatch();
}

void ColourPicker::setColor(const QColor& color)
{
    if (!color.isValid() || color == m_color)
        return;
    m_color = color;
    updateSwatch();
    emit colorChanged(m_color);
}

void ColourPicker::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (chosen.isValid())
        setColor(chosen);
}

void ColourPicker::updateSwatch()
{
    QPixmap swatch(32, 12);
    swatch.fill(m_color);
    QIcon icon(swatch);
    // Switched off, the colour fades halfway into the window's background.
    const QColor background = palette().color(QPalette::Window);
    QPixmap faded(swatch.size());
    faded.fill(QColor((m_color.red() + background.red()) / 2,
                      (m_color.green() + background.green()) / 2,
                      (m_color.blue() + background.blue()) / 2));
    icon.addPixmap(faded, QIcon::Disabled);
    setIcon(icon);
    setIconSize(swatch.size());
}

} // namespace mv
