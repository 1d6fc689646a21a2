#pragma once
// PreviewProgressWindow: "正在生成预览，请稍候..." while a report preview is built. Its
// 200 ms PreviewFrameWatch closes it once the preview frame it watches is gone.

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace mv {

class PreviewProgressWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewProgressWindow(QWidget* parent = nullptr);

    // Watches frame every 200 ms; when it is gone (or never was) the watch stops and the
    // window closes.
    void watch(QWidget* frame);
    bool watching() const { return m_watch.isActive(); }

private:
    void PreviewFrameWatch();

    QTimer m_watch;
    QPointer<QWidget> m_frame;
};

} // namespace mv
