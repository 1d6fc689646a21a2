#include "gui/stock/monthlysummarypage.h"

#include "gui/data/reportlistexport.h"
#include "gui/main/mainpages.h"
#include "gui/printing/reportprint.h"

#include "common/messages.h"
#include "forms/windowbuilder.h"
#include "stock/monthlysummary.h"
#include "stock/stockheaderclick.h"
#include "widgets/notrefreshed.h"
#include "widgets/progressbarfeedback.h"
#include "widgets/reportlist.h"
#include "widgets/showoutcome.h"
#include "widgets/tabcontrol.h"
#include "widgets/waitcursor.h"

#include <QDateEdit>
#include <QProgressBar>
#include <QScopeGuard>

namespace mv {

MonthlySummaryPage::MonthlySummaryPage(QWidget* mainWindow, Connection& connection)
    : QObject(mainWindow), m_connection(connection)
{
    m_tabs = control<TabControl>(mainWindow, u"选择夹1"_qs);
    m_summaryList = control<ReportList>(mainWindow, u"超级列表框3"_qs);
    m_stockList = control<ReportList>(mainWindow, u"超级列表框1"_qs);
    m_from = control<QDateEdit>(mainWindow, u"formo"_qs);
    m_to = control<QDateEdit>(mainWindow, u"too"_qs);
    m_progress = control<QProgressBar>(mainWindow, u"进度条1"_qs);
    // The period pickers stand without a label: named for screen readers and the mouse pointer.
    for (auto [picker, name] :
         {std::pair{m_from, u"统计起始日期"_qs}, {m_to, u"统计结束日期"_qs}}) {
        picker->setAccessibleName(name);
        picker->setToolTip(name);
    }
    // A click on a column title sorts the summary by it, as in the stock list: the clerk finds
    // what went out most, or what is left least, at the top.
    connect(m_summaryList, &ReportList::headerClicked, this, [this](int column) {
        const WaitCursor wait;
        OnReportHeaderClick(*m_summaryList->model(), column,
                            {SummaryColNumber, SummaryColOpening, SummaryColCurrent,
                             SummaryColIssued, SummaryColReceived});
    });
    showHowToFill();
}

void MonthlySummaryPage::showHowToFill()
{
    m_summaryList->setPlaceholderText(
        u"选好上方的起止日期后点“统计”，这里列出每种物品在这段时间的入库、出库与库存。"_qs);
}

std::optional<ItemKey> MonthlySummaryPage::chosenItem() const
{
    const int row = m_summaryList->selectedRow();
    if (row < 0)
        return std::nullopt;
    const ReportListModel& summary = *m_summaryList->model();
    return itemKey(summary.text(row, SummaryColName), summary.text(row, SummaryColModel));
}

void MonthlySummaryPage::save()
{
    if (m_notRefreshed) {
        msgBox(u"月度汇总没有刷新（统计失败），不能导出。请重新统计后再保存。"_qs, MsgOk,
               u"提示"_qs);
        return;
    }
    // Named for its period, so that the months' workbooks do not replace one another.
    exportReportList(*m_summaryList, u"月度汇总"_qs, m_progress,
                     m_builtFrom.isNull() ? QString()
                                          : u"月度汇总（%1）"_qs.arg(periodText(u"至"_qs)));
}

QString MonthlySummaryPage::periodText(const QString& between) const
{
    const QString format = u"yyyy年M月d日"_qs;
    return m_builtFrom.toString(format) + between + m_builtTo.toString(format);
}

void MonthlySummaryPage::print(ReportPrint& module)
{
    if (m_notRefreshed) {
        msgBox(u"月度汇总没有刷新（统计失败），不能打印。请重新统计后再打印。"_qs, MsgOk,
               u"提示"_qs);
        return;
    }
    // The period is on no row of the list: on paper it is in the title.
    const QString title =
        m_builtFrom.isNull() ? u"月度汇总"_qs : u"月度汇总（%1）"_qs.arg(periodText(u" 至 "_qs));
    module.OpenReportPrint(m_summaryList, 0, QString(), u"月度汇总"_qs, title);
}

void MonthlySummaryPage::dataReplaced()
{
    m_summaryList->model()->clearRows();
    m_builtFrom = m_builtTo = QDate();
    showHowToFill();
    m_notRefreshed = false;
    setNotRefreshed(*m_tabs, PageMonthly, false);
}

void MonthlySummaryPage::buildMonthlySummary()
{
    m_tabs->setCurrentIndex(PageMonthly);

    // The bar's end follows the stock list's row count, as it always has; after a narrowing
    // search it simply reaches its end early.
    QueryOutcome outcome;
    {
        m_progress->setRange(1, std::max(1, m_stockList->model()->rowCount()));
        m_progress->setValue(1);
        m_progress->show();
        const WaitCursor wait;
        const auto hideProgress = qScopeGuard([this] { m_progress->hide(); });
        outcome = BuildMonthlySummary(m_connection, *m_summaryList->model(), m_from->date(),
                                      m_to->date(), progressBarFeedback(m_progress));
    }
    m_notRefreshed = !outcome.done;
    if (outcome.done) {
        m_builtFrom = m_from->date();
        m_builtTo = m_to->date();
        // Every item stored is listed: none at all is what an empty list says.
        m_summaryList->setPlaceholderText(u"还没有任何物品入库或领料，没有可汇总的内容。"_qs);
    }
    setNotRefreshed(*m_tabs, PageMonthly, m_notRefreshed);
    showOutcome(outcome);
}

} // namespace mv
