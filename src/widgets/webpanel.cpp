#include "widgets/webpanel.h"

#include <QThread>

namespace mv {

WebPanel::WebPanel(QWidget* parent) : QTextBrowser(parent)
{
    // Links are followed here so that nothing outside the machine is ever opened.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &WebPanel::followLink);
}

bool WebPanel::isLocalAddress(const QUrl& url)
{
    return url.isValid() && (url.isLocalFile() || url.scheme() == u"qrc");
}

void WebPanel::setAddress(const QUrl& url)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, url] { setAddress(url); }, Qt::QueuedConnection);
        return;
    }
    if (!isLocalAddress(url))
        return;
    m_address = url;
    setSource(url);
    emit addressChanged(url);
}

void WebPanel::followLink(const QUrl& url)
{
    setAddress(url.isRelative() ? m_address.resolved(url) : url);
}

} // namespace mv
