#include "widgets/combobox.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

namespace mv {

QString enteredText(const QComboBox* box)
{
    const QString text = box->currentText();
    return box->findText(text, Qt::MatchExactly) >= 0 ? text : text.trimmed();
}

void setListItems(QComboBox* box, const QStringList& items)
{
    box->clear();
    box->addItems(items);
    QAbstractItemView* view = box->view();
    view->setTextElideMode(Qt::ElideNone);
    int widest = 0;
    for (const QString& item : items)
        widest = std::max(widest, view->fontMetrics().horizontalAdvance(item));
    // Room for the item's margins and a vertical scroll bar.
    const int extra = 2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) +
                      view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    view->setMinimumWidth(widest + extra);
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // No inline completion: the text is what the user typed or picked from the list.
    lineEdit()->setCompleter(nullptr);
    // Enter reports to the program; it must not add the typed text to the list.
    setInsertPolicy(QComboBox::NoInsert);
}

bool ComboBox::event(QEvent* event)
{
    // The mouse resting on a text cut short at the box's edge ("华南铝材有限…") shows it whole.
    // A disabled box gets the event as well.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && lineEdit()) {
        const QString text = currentText();
        const QLineEdit* edit = lineEdit();
        const int room = edit->contentsRect().width() - edit->textMargins().left() -
                         edit->textMargins().right() - 4; // the line edit's own margins
        if (edit->fontMetrics().horizontalAdvance(text) > room) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this);
            return true;
        }
    }
    return QComboBox::event(event);
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

// A clerk scrolling the grid or the page with the pointer resting on a box would otherwise
// change "合页" to another product, or the category, without a word. The list opens by a
// click or Alt+Down, and the arrow keys step through it.
void ComboBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

} // namespace mv
