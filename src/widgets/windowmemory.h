#pragma once

#include <QObject>
#include <QSettings>

namespace mv {

// Remembers where a window of the program stood and how large it was (maximized or not) from
// one run to the next, so that a clerk who enlarges the main window does not do it again at
// every start. Follows the top-level window with the given object name: its place is put
// back before it is first shown and noted whenever it is moved, resized, maximized or
// restored while shown. A place on a screen that is no longer there, or a size larger than
// the screen now, is brought onto the screen.
class WindowMemory : public QObject
{
    Q_OBJECT

public:
    explicit WindowMemory(const QString& windowName, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore(QWidget* window) const;

    QString m_windowName;
    QString m_key;
    QSettings m_settings;
};

} // namespace mv
