#include "common/replacementfile.h"

#include "common/systemerror.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mv {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Forces the file's content to disk, so that a crash after the rename cannot leave the
// target empty. File systems that cannot sync (EINVAL) are taken as they are.
bool flushToDisk(const QString& path, QString* error)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0 && (::fsync(fd) == 0 || errno == EINVAL);
    if (!ok)
        *error = systemErrorText(errno);
    if (fd >= 0)
        ::close(fd);
    return ok;
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#endif
}

} // namespace

ReplacementFile::ReplacementFile(const QString& target, Access access)
    : m_target(target), m_access(access)
{
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::create(QString* error)
{
    discard();
    static const QLatin1String letters(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = m_target + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            name += letters.at(QRandomGenerator::global()->bounded(int(letters.size())));
        QFile file(name);
        const bool created = m_access == OwnerOnly
                                 ? file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                                             QFileDevice::ReadOwner | QFileDevice::WriteOwner)
                                 : file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (created) {
            m_temporary = name;
            return true;
        }
        if (!QFileInfo::exists(name)) { // not a name taken by chance: the directory refuses
            *error = file.errorString();
            return false;
        }
    }
    *error = QStringLiteral("无法在目标目录中取得临时文件名");
    return false;
}

bool ReplacementFile::commit(QString* error)
{
    if (m_temporary.isEmpty()) {
        *error = QStringLiteral("没有写好的临时文件");
        return false;
    }
    if (!flushToDisk(m_temporary, error)) {
        discard();
        return false;
    }
    if (m_access == Shared && QFileInfo::exists(m_target))
        QFile::setPermissions(m_temporary, QFile::permissions(m_target));
    std::error_code renameError;
    std::filesystem::rename(nativePath(m_temporary), nativePath(m_target), renameError);
    if (renameError) {
        *error = systemErrorText(renameError.value());
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void ReplacementFile::discard()
{
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
    m_temporary.clear();
}

bool replaceFileContent(const QString& target, const QByteArray& bytes, QString* error,
                        ReplacementFile::Access access)
{
    ReplacementFile file(target, access);
    if (!file.create(error))
        return false;
    QFile out(file.temporaryPath());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        *error = QStringLiteral("文件没有写完（磁盘空间可能已满）");
        return false;
    }
    out.close();
    return file.commit(error);
}

} // namespace mv
