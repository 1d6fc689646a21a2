#pragma once
// A toolbar whose buttons are addressed by index (separators count too) and whose state
// is set by flags: 4 disables a button, 8 hides it.

#include <QList>
#include <QStringList>
#include <QToolBar>

namespace mv {

class StateToolBar : public QToolBar
{
    Q_OBJECT
public:
    enum StateFlag : int
    {
        Disabled = 4,
        Hidden = 8
    };

    explicit StateToolBar(QWidget* parent = nullptr);

    // Appends one entry per caption; "-" is a separator.
    void addButtons(const QStringList& captions);
    int buttonCount() const { return int(m_entries.size()); }
    // The entry's action (a separator action for "-"), nullptr outside the range.
    QAction* buttonAction(int index) const;
    bool isSeparator(int index) const;

    // A button shows a tooltip only when one is set here (not its caption).
    void setButtonTooltip(int index, const QString& text);

    void addState(int index, int flags);
    void removeState(int index, int flags);
    int state(int index) const;
    bool isButtonVisible(int index) const;
    bool isButtonEnabled(int index) const;

    // Names every action "<toolbar objectName>_<index>"; called again when the name changes.
    void nameActions();

signals:
    void buttonClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        QAction* action = nullptr;
        int flags = 0;
        bool hasTooltip = false;
    };
    void applyState(int index);

    QList<Entry> m_entries;
};

} // namespace mv
