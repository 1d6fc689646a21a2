#include "exchange/backup/serverdump.h"

#include "common/replacementfile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace mv {

bool dumpServerDatabase(const QString& urlText, const QString& path, QString* error)
{
    const QString program = QStandardPaths::findExecutable(u"pg_dump"_qs);
    if (program.isEmpty()) {
        *error = u"没有找到 pg_dump 程序，无法备份服务器上的数据库。"
                 "请安装 PostgreSQL 客户端（Debian 软件包 postgresql-client）后再试。"_qs;
        return false;
    }
    const QUrl url(urlText);
    // pg_dump writes under a fresh name beside the backup, which replaces an older backup of
    // that name only once the dump is complete.
    ReplacementFile file(path, ReplacementFile::OwnerOnly);
    QString reason;
    if (!file.create(&reason)) {
        *error = u"无法在 %1 中写入备份：%2"_qs.arg(
            QDir::toNativeSeparators(QFileInfo(path).absolutePath()), reason);
        return false;
    }
    QProcess dump;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The password goes through the environment, never onto the command line.
    if (!url.password().isEmpty())
        environment.insert(u"PGPASSWORD"_qs, url.password());
    dump.setProcessEnvironment(environment);
    QStringList arguments = {
        u"--format=custom"_qs, u"--no-password"_qs, u"--file"_qs, file.temporaryPath(),
        u"--host"_qs,          url.host(),          u"--port"_qs, QString::number(url.port(5432))};
    if (!url.userName().isEmpty())
        arguments << u"--username"_qs << url.userName();
    arguments << url.path().mid(1);
    dump.start(program, arguments);
    const bool finished = dump.waitForFinished(-1);
    if (!finished || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(dump.readAllStandardError()).trimmed();
        *error = u"pg_dump 没有完成："_qs + (said.isEmpty() ? dump.errorString() : said);
        return false;
    }
    if (!file.commit(&reason)) {
        *error = u"无法把备份写成 %1：%2"_qs.arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return true;
}

QString serverRestoreNotice()
{
    return u"服务器上的数据库不能在本程序中恢复。数据备份写在 datebak 目录中的 .pgdump 文件"
           "（pg_dump 自定义格式），需要时请数据库管理员用 pg_restore 恢复。"_qs;
}

} // namespace mv
