// The main window's list export (保存 on the stock and monthly pages) and its 数据备份 and
// 数据恢复 menu items, with every dialog answered by the scripted responder.

#include "common/oledate.h"
#include "common/session.h"
#include "gui/main/mainpages.h"
#include "gui/main/mainwindow.h"
#include "gui/main/toolbarsets.h"
#include "gui/stock/stockpage.h"
#include "support/mainwindowfixture.h"
#include "support/workbookreader.h"
#include "widgets/reportlist.h"
#include "widgets/tabcontrol.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <sys/inotify.h>
#include <unistd.h>

using namespace mv;
using namespace mv::test;

namespace {

// The names of the files created or written in the watched directories (not below them)
// while the watch lives.
class DirectoryWatch
{
public:
    explicit DirectoryWatch(const QStringList& directories)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString& directory : directories)
            inotify_add_watch(m_fd, QFile::encodeName(directory).constData(),
                              IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~DirectoryWatch() { close(m_fd); }
    bool valid() const { return m_fd >= 0; }

    QStringList names() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[16384];
        ssize_t size = 0;
        while ((size = read(m_fd, buffer, sizeof buffer)) > 0)
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                names.append(QFile::decodeName(event->len ? event->name : "?"));
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        return names;
    }

private:
    int m_fd;
};

} // namespace

class TestExportBackup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveExportsThePageList();
    void saveWritesOnlyItsWorkbook();
    void exportCancelledOrFailing();
    void backupAndRestoreFromTheMenu();

private:
    void trigger(const QString& key) { m_f->window->built().menuActions.value(key)->trigger(); }
    ReportList* list(const char* name) { return m_f->control<ReportList>(name); }
    bool progressHidden() { return m_f->control<QProgressBar>("进度条1")->isHidden(); }

    std::unique_ptr<MainWindowFixture> m_f;
    QTemporaryDir m_out;
};

void TestExportBackup::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    m_f->store.addLine(u"角铝"_qs, u"A'1"_qs, u"入库"_qs, u"10"_qs, u"2010-01-05"_qs, u"铝材"_qs,
                       u"支"_qs);
    m_f->open();
    m_f->window->onMainButton(MainStock);
}

void TestExportBackup::cleanup()
{
    m_f.reset();
    setClockForTests({});
}

void TestExportBackup::saveExportsThePageList()
{
    const QString stockPath = m_out.filePath(u"库存"_qs); // no suffix: .xls is added
    m_f->responder.queueFileName(stockPath);
    m_f->window->onAuxButton(AuxSave);
    QCOMPARE(m_f->responder.fileDialogs.size(), 1);
    QVERIFY(m_f->responder.fileDialogs[0].save);
    QVERIFY(m_f->responder.fileDialogs[0].filter.indexOf(u"*.xls)"_qs) <
            m_f->responder.fileDialogs[0].filter.indexOf(u"*.xlsx"_qs));
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QVERIFY(progressHidden());
    const ReadWorkbook stock = readWorkbook(stockPath + u".xls"_qs);
    QVERIFY2(stock.ok, qPrintable(stock.error));
    QCOMPARE(stock.sheets[0].name, u"库存"_qs);
    const ReportListModel& model = *list("超级列表框1")->model();
    QStringList titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles.append(model.columnTitle(c));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(stock.sheets[0].rows,
             withoutTrailingEmpties(QList<QStringList>{titles} + model.cellTexts()));

    // 统计 moves to the monthly page, where 保存 stays and exports the summary.
    m_f->window->onAuxButton(AuxSummary);
    QCOMPARE(m_f->window->currentPage(), int(PageMonthly));
    const QString monthlyPath = m_out.filePath(u"月度.xlsx"_qs);
    m_f->responder.queueFileName(monthlyPath);
    m_f->window->onAuxButton(AuxSave);
    const ReadWorkbook monthly = readWorkbook(monthlyPath);
    QVERIFY2(monthly.ok, qPrintable(monthly.error));
    // The name proposed carries the period, so months do not replace one another.
    const QString format = u"yyyy年M月d日"_qs;
    QCOMPARE(
        QFileInfo(m_f->responder.fileDialogs.last().directory).fileName(),
        u"月度汇总（%1至%2）.xls"_qs.arg(m_f->control<QDateEdit>("formo")->date().toString(format),
                                         m_f->control<QDateEdit>("too")->date().toString(format)));
    QCOMPARE(monthly.sheets[0].name, u"月度汇总"_qs);
    QCOMPARE(monthly.sheets[0].rows.size(), list("超级列表框3")->model()->rowCount() + 1);
}

void TestExportBackup::saveWritesOnlyItsWorkbook()
{
    // The temporary directory, the working directory and the target's parent are watched
    // while 保存 writes both formats: nothing appears in them, and the target directory
    // holds the workbooks and nothing else afterwards.
    QTemporaryDir root;
    const QString temporary = root.filePath(u"temp"_qs);
    const QString target = root.filePath(u"导出"_qs);
    QVERIFY(QDir().mkpath(temporary) && QDir().mkpath(target));
    const QString workingDirectory = QDir::currentPath();
    for (const char* name : {"TMPDIR", "TMP", "TEMP"})
        qputenv(name, QFile::encodeName(temporary));
    QDir::setCurrent(temporary);
    const auto restore = qScopeGuard([&] {
        for (const char* name : {"TMPDIR", "TMP", "TEMP"})
            qunsetenv(name);
        QDir::setCurrent(workingDirectory);
    });
    const DirectoryWatch watch({temporary, root.path()});
    QVERIFY(watch.valid());
    for (const QString& name : {u"库存.xls"_qs, u"库存.xlsx"_qs}) {
        m_f->responder.queueFileName(QDir(target).filePath(name));
        m_f->window->onAuxButton(AuxSave);
    }
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QCOMPARE(watch.names(), QStringList());
    QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{u"库存.xls"_qs, u"库存.xlsx"_qs}));
    for (const QString& name : {u"库存.xls"_qs, u"库存.xlsx"_qs})
        QVERIFY(readWorkbook(QDir(target).filePath(name)).ok);
}

void TestExportBackup::exportCancelledOrFailing()
{
    QTemporaryDir out;
    m_f->window->onAuxButton(AuxSave); // the dialog is cancelled: no file, no message
    QCOMPARE(m_f->responder.fileDialogs.size(), 1);
    // The workbook is proposed in a folder that exists (the documents folder, else home).
    QVERIFY(QFileInfo(m_f->responder.fileDialogs[0].directory).dir().exists());
    QVERIFY(m_f->responder.messages.isEmpty());
    QVERIFY(QDir(out.path()).isEmpty());

    m_f->responder.queueFileName(out.filePath(u"无此目录/库存.xls"_qs));
    m_f->window->onAuxButton(AuxSave);
    QCOMPARE(m_f->responder.messages.size(), 1);
    QCOMPARE(m_f->responder.messages[0].title, u"错误"_qs);
    QVERIFY(progressHidden());
    QVERIFY(QDir(out.path()).isEmpty());
}

void TestExportBackup::backupAndRestoreFromTheMenu()
{
    // A restore replaces the accounts too: the clerk has no 数据恢复, the administrator has.
    QVERIFY(!m_f->window->built().menuActions.value(u"系统_数据恢复"_qs)->isEnabled());
    session().currentUser = u"admin"_qs;
    m_f->open();
    m_f->window->onMainButton(MainStock);
    QVERIFY(m_f->window->built().menuActions.value(u"系统_数据恢复"_qs)->isEnabled());
    setClockForTests(QDateTime(QDate(2010, 5, 3), QTime(9, 0)));
    trigger(u"系统_数据备份"_qs); // cancelled
    QCOMPARE(m_f->responder.inputs.size(), 1);
    QCOMPARE(m_f->responder.inputs[0].prompt, u"请在下面框中输入你要备份的数据的名字"_qs);
    QCOMPARE(m_f->responder.inputs[0].title, u"数据库备份"_qs);
    QCOMPARE(m_f->responder.inputs[0].initial, u"2010年5月3日"_qs);
    const QString backups = QDir(m_f->store.directory()).filePath(u"datebak"_qs);
    QVERIFY(!QFileInfo::exists(backups));

    // A name that cannot name a file is refused, then asked for again as it was typed.
    m_f->responder.queueInput({true, u"a\\b"_qs});
    m_f->responder.queueInput({true, u"月初"_qs});
    trigger(u"系统_数据备份"_qs);
    QCOMPARE(m_f->responder.messages.size(), 2);
    QCOMPARE(m_f->responder.messages.first().title, u"错误"_qs);
    QCOMPARE(m_f->responder.inputs.last().initial, u"a\\b"_qs);
    QCOMPARE(m_f->responder.messages.last().title, u"提示"_qs);
    QVERIFY(QFileInfo::exists(backups + u"/月初.mdbbak"_qs));

    // The same name again: asked before the earlier backup is replaced; 否 brings the name back
    // to be changed (here cancelled, nothing written), 是 replaces it.
    m_f->responder.clear();
    m_f->responder.queueInput({true, u"月初"_qs});
    m_f->responder.queueAnswer(AnswerNo);
    trigger(u"系统_数据备份"_qs);
    QVERIFY(m_f->responder.lastText().startsWith(u"已有名为“月初”的备份（"_qs));
    QCOMPARE(m_f->responder.messages.size(), 1);
    QCOMPARE(m_f->responder.inputs.size(), 2);
    QCOMPARE(m_f->responder.inputs.last().initial, u"月初"_qs);
    m_f->responder.queueInput({true, u"月初"_qs});
    m_f->responder.queueAnswer(AnswerYes);
    trigger(u"系统_数据备份"_qs);
    QVERIFY(m_f->responder.lastText().startsWith(u"数据已备份到"_qs));

    // A new receipt after the backup, shown on the receipt page; restoring the backup takes
    // it away again, from the stock list and from the page on show.
    m_f->store.addLine(u"玻璃"_qs, u"5mm"_qs, u"入库"_qs, u"2"_qs, u"2010-05-03"_qs, {}, {},
                       u"RK-9"_qs);
    m_f->store.exec(u"insert into ycldate values ('RK-9', '入', '')"_qs);
    // And a requisition, shown on its page before the clerk goes to the receipt page.
    m_f->store.addLine(u"玻璃"_qs, u"5mm"_qs, u"出库"_qs, u"1"_qs, u"2010-05-03"_qs, {}, {},
                       u"CK-9"_qs);
    m_f->store.exec(u"insert into ycldate values ('CK-9', '出', '')"_qs);
    m_f->window->onMainButton(MainRequisition);
    auto* requisition = m_f->control<QWidget>(u"编辑框_单号出库"_qs);
    QCOMPARE(requisition->property("text").toString(), u"CK-9"_qs);
    m_f->window->onMainButton(MainReceipt);
    auto* number = m_f->control<QWidget>(u"编辑框_单号入库"_qs);
    QCOMPARE(number->property("text").toString(), u"RK-9"_qs);
    m_f->window->stockPage()->refresh();
    QCOMPARE(list("超级列表框1")->model()->rowCount(), 2);
    m_f->responder.clear();
    m_f->responder.queueChoice(0);
    m_f->responder.queueAnswer(AnswerNo);
    trigger(u"系统_数据恢复"_qs); // answered No: nothing changes
    QCOMPARE(m_f->responder.choices.size(), 1);
    QCOMPARE(m_f->responder.choices[0].items.size(), 1);
    QVERIFY(m_f->responder.choices[0].items[0].startsWith(u"月初"_qs));
    QVERIFY(m_f->responder.messages[0].text.contains(u"月初"_qs));
    QCOMPARE(m_f->responder.messages[0].code, int(MsgYesNo));
    QCOMPARE(list("超级列表框1")->model()->rowCount(), 2);

    m_f->responder.queueChoice(0);
    m_f->responder.queueAnswer(AnswerYes);
    trigger(u"系统_数据恢复"_qs);
    QCOMPARE(m_f->responder.messages.last().title, u"提示"_qs);
    QCOMPARE(list("超级列表框1")->model()->rowCount(), 1); // shown at once
    QVERIFY(number->property("text").toString() != u"RK-9"_qs);
    QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 2); // with the pre-restore copy
    // The requisition page, shown again by its tab, shows the restored data as well.
    emit m_f->control<TabControl>(u"选择夹1"_qs)->tabBarClicked(PageRequisition);
    QCOMPARE(requisition->property("text").toString(), QString());
}

QTEST_MAIN(TestExportBackup)
#include "tst_exportbackup.moc"
