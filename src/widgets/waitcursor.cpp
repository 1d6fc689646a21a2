#include "widgets/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace mv {

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    release();
}

void WaitCursor::release()
{
    if (m_held)
        QGuiApplication::restoreOverrideCursor();
    m_held = false;
}

} // namespace mv
