#include "widgets/datepicker.h"

#include "common/oledate.h"

#include <QEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace mv {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    setDate(clockToday());
    lineEdit()->installEventFilter(this);
    // The wheel does not take the focus: a clerk scrolling past the picker would change the
    // document's date (2026 to 2025 by one notch) without noticing.
    setFocusPolicy(Qt::StrongFocus);
}

bool DatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::wheelEvent(QWheelEvent* event)
{
    if (hasFocus())
        QDateEdit::wheelEvent(event);
    else
        event->ignore();
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    // A click leaves the cursor inside a part that is already full ("20|26"), where Qt refuses
    // every digit typed: the clerk's date was silently not taken. Select the part clicked, as
    // a desktop date field does; a stretch selected by dragging stays as it is.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    return QDateEdit::eventFilter(watched, event);
}

} // namespace mv
