#include "exchange/access/accessreaderprocess.h"

#include "exchange/access/accessimportchild.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace mv {

namespace {

const char kReaderName[] = "morvane-accessreader";
const int kPollMs = 100;

// Reads the reader's messages as they come.
class ReaderMessages
{
public:
    ReaderMessages(ReaderBuild* build, const AccessImportOptions& options)
        : m_build(build), m_options(options)
    {
    }

    void take(const QByteArray& bytes)
    {
        m_pending += bytes;
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            handle(QJsonDocument::fromJson(m_pending.left(end)).object());
            m_pending.remove(0, end + 1);
        }
    }

    bool finished = false; // the reader said it committed every table
    QString failure;       // what the reader said failed
    QString table;         // the table being read, empty before the first

private:
    void handle(const QJsonObject& message)
    {
        if (const QJsonArray progress = message.value(u"progress"_qs).toArray();
            !progress.isEmpty()) {
            table = progress.at(0).toString();
            if (m_options.progress)
                m_options.progress(table, progress.at(1).toInteger(), progress.at(2).toInteger());
        } else if (message.contains(u"table"_qs)) {
            const QJsonObject t = message.value(u"table"_qs).toObject();
            ImportedTable imported;
            imported.name = t.value(u"name"_qs).toString();
            imported.found = t.value(u"found"_qs).toBool();
            imported.rowsRead = t.value(u"read"_qs).toInteger();
            imported.rowsWritten = t.value(u"written"_qs).toInteger();
            for (const QJsonValue& column : t.value(u"extra"_qs).toArray())
                imported.extraColumns.append(column.toString());
            m_build->tables.append(imported);
        } else if (message.contains(u"failed"_qs)) {
            failure = message.value(u"failed"_qs).toString();
        } else if (message.value(u"done"_qs).toBool()) {
            finished = true;
        }
    }

    ReaderBuild* m_build;
    const AccessImportOptions& m_options;
    QByteArray m_pending;
};

} // namespace

QString accessReaderProgram()
{
    const QString directory = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {QDir(directory).filePath(QLatin1String(kReaderName)),
          QDir(directory).filePath(u"../libexec/morvane/"_qs + QLatin1String(kReaderName))})
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    return {};
}

ReaderBuild buildInReaderProcess(const QString& accessFile, const QString& buildPath,
                                 const AccessImportOptions& options)
{
    ReaderBuild build;
    const QString program =
        options.readerProgram.isEmpty() ? accessReaderProgram() : options.readerProgram;
    if (program.isEmpty()) {
        build.message =
            QStringLiteral("找不到 Access 读取程序 %1（应与本程序在同一目录中），无法导入。")
                .arg(QLatin1String(kReaderName));
        return build;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(accessChildArguments(accessFile, buildPath, options));
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted()) {
        build.message = QStringLiteral("无法启动 Access 读取程序 %1：%2")
                            .arg(QDir::toNativeSeparators(program), process.errorString());
        return build;
    }

    ReaderMessages messages(&build, options);
    QElapsedTimer quiet;
    quiet.start();
    bool stalled = false;
    for (;;) {
        const bool more = process.waitForReadyRead(kPollMs);
        build.diagnostics += process.readAllStandardError();
        if (const QByteArray out = process.readAllStandardOutput(); !out.isEmpty()) {
            messages.take(out);
            quiet.restart();
        }
        if (!more && process.state() == QProcess::NotRunning)
            break;
        if (!more && options.waiting)
            options.waiting();
        if (quiet.elapsed() > qint64(options.stallSeconds) * 1000) {
            stalled = true;
            process.kill();
            process.waitForFinished();
            break;
        }
    }
    build.diagnostics += process.readAllStandardError();
    messages.take(process.readAllStandardOutput());

    const QString where = messages.table.isEmpty()
                              ? QStringLiteral("读取表目录时")
                              : QStringLiteral("读取表 %1 时").arg(messages.table);
    if (stalled)
        build.message =
            QStringLiteral(
                "Access 读取程序%1超过 %2 秒没有进展，已被停止：文件可能已损坏，无法导入。")
                .arg(where)
                .arg(options.stallSeconds);
    else if (process.exitStatus() == QProcess::CrashExit)
        build.message =
            QStringLiteral("Access 读取程序%1异常终止：文件已损坏，无法导入。").arg(where);
    else if (!messages.failure.isEmpty())
        build.message = messages.failure;
    else if (process.exitCode() != 0 || !messages.finished)
        build.message = QStringLiteral("Access 读取程序%1意外结束（退出码 %2），无法导入。")
                            .arg(where)
                            .arg(process.exitCode());
    else
        build.done = true;
    return build;
}

} // namespace mv
