#pragma once
// The web panel: shows local pages (file: and qrc:) and refuses to open anything outside.
// Its address may be set from any thread.

#include <QTextBrowser>
#include <QUrl>

namespace mv {

class WebPanel : public QTextBrowser
{
    Q_OBJECT
public:
    explicit WebPanel(QWidget* parent = nullptr);

    QUrl address() const { return m_address; }
    // Thread-safe: called off the GUI thread, the call is queued to the panel's thread.
    void setAddress(const QUrl& url);

    // Whether the panel opens such an address (local files and built-in resources only).
    static bool isLocalAddress(const QUrl& url);

signals:
    void addressChanged(const QUrl& url);

private:
    void followLink(const QUrl& url);

    QUrl m_address;
};

} // namespace mv
