#include "gui/printing/previewprogresswindow.h"

#include "forms/controldef.h"
#include "forms/windowbuilder.h"

namespace mv {

PreviewProgressWindow::PreviewProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    const WindowDef& def = windowDef(u"PreviewProgressWindow"_qs);
    setObjectName(def.name);
    const BuiltWindow built = buildWindow(def, this);
    // The table and its data source are the module's print table, not something to show.
    for (const QString& name : {u"表格1"_qs, u"数据源1"_qs})
        if (QWidget* w = built.controls.value(name))
            w->hide();
    setFixedSize(def.width, def.height);
    // Modal while shown, so 打印 cannot start a second build under the first.
    setWindowModality(Qt::ApplicationModal);
    m_watch.setObjectName(u"时钟1"_qs);
    m_watch.setInterval(200);
    connect(&m_watch, &QTimer::timeout, this, &PreviewProgressWindow::PreviewFrameWatch);
}

void PreviewProgressWindow::watch(QWidget* frame)
{
    m_frame = frame;
    m_watch.start();
}

void PreviewProgressWindow::PreviewFrameWatch()
{
    if (m_frame && m_frame->isVisible())
        return;
    m_watch.stop();
    close();
}

} // namespace mv
