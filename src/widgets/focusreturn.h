#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace mv {

// Gives the keyboard back to the window a closed dialog belonged to. With no window manager
// (or one that leaves the focus where the pointer is) nobody hands the focus on when a message
// box or a secondary window closes, so the main window stayed inactive and its shortcuts did
// nothing until the clerk clicked it. Only the window of ours that was activated last is
// followed: when it is hidden, its parent's window (or, for a box made while no window was
// active, the window activated before it) gets the keyboard, unless another window of ours
// has it by then.
class FocusReturn : public QObject
{
    Q_OBJECT

public:
    explicit FocusReturn(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> m_activated; // windows in the order of their last activation
};

} // namespace mv
