#include "widgets/editbox.h"

#include <QKeyEvent>

namespace mv {

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

void EditBox::setPasswordMode(bool on)
{
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    // The mask glyph is '*' (42) rather than the style's own dot.
    setStyleSheet(on ? QStringLiteral("lineedit-password-character: 42;") : QString());
}

void EditBox::keyPressEvent(QKeyEvent* event)
{
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit enterPressed();
}

} // namespace mv
