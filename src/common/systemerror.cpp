#include "common/systemerror.h"

#include <cerrno>
#include <cstring>

namespace mv {

QString systemErrorText(int code)
{
    switch (code) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("磁盘空间已满");
    case ENOENT:
        return QStringLiteral("此文件或目录不存在");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有访问权限");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case EFBIG:
        return QStringLiteral("文件超出了磁盘允许的大小");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

} // namespace mv
