#include "widgets/timingreport.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>

namespace mv {

Q_LOGGING_CATEGORY(lcTiming, "morvane.timing", QtInfoMsg)

namespace {

const QEvent::Type kReportEvent = QEvent::Type(QEvent::registerEventType());

class DrawnReport;

// The report waiting for each widget: changes drawn together are reported once, the last.
QHash<const QWidget*, DrawnReport*>& pending()
{
    static QHash<const QWidget*, DrawnReport*> reports;
    return reports;
}

// Waits for the drawing of one change: Qt posts its repaint requests at low priority, so an
// event posted below that arrives once they have been drawn.
class DrawnReport : public QObject
{
public:
    DrawnReport(const QWidget* widget, QString what)
        : QObject(QCoreApplication::instance()), m_key(widget), m_widget(widget),
          m_what(std::move(what))
    {
        pending().insert(m_key, this);
        post();
    }
    ~DrawnReport() override
    {
        if (pending().value(m_key) == this)
            pending().remove(m_key);
    }

    void setWhat(const QString& what) { m_what = what; }

    bool event(QEvent* event) override
    {
        if (event->type() != kReportEvent)
            return QObject::event(event);
        if (!m_widget) {
            deleteLater();
            return true;
        }
        const QWidget* topLevel = m_widget->window();
        const QWindow* window = topLevel->windowHandle();
        if (!topLevel->isVisible() || !window || !window->isExposed()) {
            // The window is not on screen yet (a main window being built): look again soon.
            QTimer::singleShot(5, this, &DrawnReport::post);
            return true;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
        qCDebug(lcTiming).noquote()
            << m_what
            << (QAccessible::isActive() ? u"(accessibility on)"_qs : u"(accessibility off)"_qs)
            << u"at"_qs << QString::number(seconds, 'f', 6);
        deleteLater();
        return true;
    }

private:
    void post()
    {
        QCoreApplication::postEvent(this, new QEvent(kReportEvent), Qt::LowEventPriority - 1);
    }

    const QWidget* m_key;
    QPointer<const QWidget> m_widget;
    QString m_what;
};

} // namespace

void reportWhenDrawn(const QWidget* widget, const QString& what)
{
    if (!lcTiming().isDebugEnabled() || !widget)
        return;
    if (DrawnReport* waiting = pending().value(widget))
        waiting->setWhat(what);
    else
        new DrawnReport(widget, what); // owned by the application, deletes itself
}

} // namespace mv
