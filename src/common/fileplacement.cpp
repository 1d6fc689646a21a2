#include "common/fileplacement.h"

#include "common/systemerror.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace mv {

namespace {

Placement failed(QString* error, int code)
{
    if (error)
        *error = systemErrorText(code);
    return code == EEXIST ? Placement::TargetExists : Placement::Failed;
}

} // namespace

Placement moveIntoPlace(const QString& from, const QString& to, QString* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return Placement::Done;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return failed(error, errno);
    // A file system without the flag: a second name taken atomically, then the first dropped.
    if (::link(source.constData(), target.constData()) != 0)
        return failed(error, errno);
    ::unlink(source.constData());
    return Placement::Done;
}

Placement addName(const QString& path, const QString& name, QString* error)
{
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(name).constData()) == 0)
        return Placement::Done;
    return failed(error, errno);
}

} // namespace mv
