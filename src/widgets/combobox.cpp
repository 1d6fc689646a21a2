#include "widgets/combobox.h"

#include <QKeyEvent>

namespace mv {

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // Enter reports to the program; it must not add the typed text to the list.
    setInsertPolicy(QComboBox::NoInsert);
}

void ComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    emit gotFocus();
}

void ComboBox::keyPressEvent(QKeyEvent* event)
{
    QComboBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit enterPressed();
}

} // namespace mv
