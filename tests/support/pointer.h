#pragma once
// The mouse resting on a widget and its wheel turned, as the window system sends them.

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

namespace mv::test {

// The tool tip that shows when the mouse rests on TARGET at AT, or empty when none shows.
inline QString toolTipAt(QWidget* target, QPoint at)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(an earlier tool tip stays)");
    QHelpEvent help(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// One notch of the wheel, turned down over the middle of WIDGET.
inline void turnWheel(QWidget* widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace mv::test
