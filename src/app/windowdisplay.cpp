#include "app/windowdisplay.h"

#include <QtGlobal>
#include <cstring>

namespace mv {

QString missingDisplayMessage(int argc, const char* const argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name))
            return {};
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return {};
    return QStringLiteral(
        "没有图形显示（环境变量 DISPLAY 未设置），无法打开窗口。\n请在图形桌面中"
        "运行本程序；不需要窗口的命令（数据备份、恢复、库存、汇总、导出、用户管理）"
        "见 morvane help。");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return {};
#endif
}

} // namespace mv
