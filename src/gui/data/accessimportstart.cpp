#include "gui/data/accessimportstart.h"

#include "common/messages.h"
#include "db/datastore.h"
#include "exchange/access/accessimport.h"
#include "gui/data/importprogresswindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

namespace mv {

namespace {

// Dialogs shown before any window exists must not end the program when they close.
class NoQuitOnLastWindow
{
public:
    NoQuitOnLastWindow() : m_old(QGuiApplication::quitOnLastWindowClosed())
    {
        QGuiApplication::setQuitOnLastWindowClosed(false);
    }
    ~NoQuitOnLastWindow() { QGuiApplication::setQuitOnLastWindowClosed(m_old); }
    NoQuitOnLastWindow(const NoQuitOnLastWindow&) = delete;
    NoQuitOnLastWindow& operator=(const NoQuitOnLastWindow&) = delete;

private:
    bool m_old;
};

} // namespace

bool offerAccessImport(const QString& dataDirectory, const QString& jet3Charset)
{
    const QString path = QDir(dataDirectory).filePath(QStringLiteral("db.mdb"));
    const bool recovered = recoverStrandedImport(dataDirectory);
    if (probeDatabaseFile(path) != DatabaseFileKind::AccessJet)
        return true;
    const NoQuitOnLastWindow keepRunning;
    const QString question =
        (recovered ? QStringLiteral("上次的导入没有完成，Access 文件已恢复为 %1。\n\n")
                   : QStringLiteral("数据库文件 %1 是 Access 格式，需要先导入才能使用。\n\n"))
            .arg(QDir::toNativeSeparators(path)) +
        QStringLiteral("现在导入吗？原文件将改名为 %1 保留，不作任何改动。")
            .arg(QDir::toNativeSeparators(freeAccessName(path)));
    if (msgBox(question, MsgYesNo, QStringLiteral("询问")) != AnswerYes)
        return false;

    AccessImport import;
    {
        ImportProgressWindow progress;
        progress.show();
        AccessImportOptions options;
        options.jet3Charset = jet3Charset;
        options.progress = [&progress](const QString& table, qint64 rows, qint64 total) {
            progress.showProgress(table, rows, total);
        };
        options.waiting = [] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        import = importAccessFile(path, dataDirectory, options);
    }
    if (!import.done) {
        msgBox(importSummaryText(import), MsgOk, QStringLiteral("错误"));
        return false;
    }
    msgBox(importSummaryText(import), MsgOkInfo, QStringLiteral("提示"));
    return true;
}

} // namespace mv
