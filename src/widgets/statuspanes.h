#pragma once
// A status bar made of fixed-width text panes addressed by index.

#include <QList>
#include <QStatusBar>

class QLabel;

namespace mv {

class StatusPanes : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusPanes(QWidget* parent = nullptr);

    // Appends a pane of the given width; returns its index.
    int addPane(int width);
    int paneCount() const { return int(m_panes.size()); }
    void setPaneText(int index, const QString& text);
    QString paneText(int index) const;
    QLabel* pane(int index) const;

private:
    QList<QLabel*> m_panes;
};

} // namespace mv
