#include "app/windowdisplay.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace mv {

namespace {

struct KeptMessage
{
    QtMsgType type;
    const char* category; // the names of logging categories are static texts
    QString text;
};

QList<KeptMessage>& keptMessages()
{
    static QList<KeptMessage> messages;
    return messages;
}

QString cannotOpenDisplay()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString first =
        display.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            ? QStringLiteral("没有图形显示（环境变量 DISPLAY 未设置），无法打开窗口。")
            : QStringLiteral("无法连接图形显示 %1，无法打开窗口。").arg(display);
    return first + QStringLiteral("\n请在图形桌面中运行本程序；不需要窗口的命令（数据备份、恢复、"
                                  "库存、汇总、导出、用户管理）见 morvane help。");
}

void whileOpening(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        keptMessages().append({type, context.category, text});
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(cannotOpenDisplay()));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

DisplayOpening::DisplayOpening() : m_previous(qInstallMessageHandler(whileOpening)) {}

DisplayOpening::~DisplayOpening()
{
    qInstallMessageHandler(m_previous);
    const QList<KeptMessage> messages = std::exchange(keptMessages(), {});
    for (const KeptMessage& message : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category);
        qt_message_output(message.type, context, message.text);
    }
}

} // namespace mv
