#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace mv {

// Gives the keyboard back to the window a closed dialog belonged to. With no window manager
// (or one that leaves the focus where the pointer is) nobody hands the focus on when a message
// box or a secondary window closes, so the main window stayed inactive and its shortcuts did
// nothing until the clerk clicked it. Only the focus of a window of ours that was hidden while
// it had the keyboard is returned; a clerk who switched to another program keeps his choice.
class FocusReturn : public QObject
{
    Q_OBJECT

public:
    explicit FocusReturn(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_active; // the window that was activated last
};

} // namespace mv
