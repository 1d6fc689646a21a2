#include "gui/stock/stockpage.h"

#include "gui/data/reportlistexport.h"
#include "gui/main/mainpages.h"
#include "gui/printing/reportprint.h"

#include "common/messages.h"
#include "common/session.h"
#include "db/changecounter.h"
#include "db/connection.h"
#include "forms/windowbuilder.h"
#include "stock/movementlist.h"
#include "stock/stockheaderclick.h"
#include "stock/stocklist.h"
#include "widgets/notrefreshed.h"
#include "widgets/reportlist.h"
#include "widgets/showoutcome.h"
#include "widgets/statetoolbar.h"
#include "widgets/tabcontrol.h"
#include "widgets/waitcursor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

namespace mv {

namespace {

// 添加 .. 下一张 of 辅_工具条; they make no sense for a movement list.
constexpr int kFirstDocumentButton = 3;
constexpr int kLastDocumentButton = 9;

const QString kChooseAnItem = QStringLiteral("请在下面选择你要查询的物品！");

} // namespace

StockPage::StockPage(QWidget* mainWindow, Connection& connection)
    : QObject(mainWindow), m_connection(connection)
{
    m_stockList = control<ReportList>(mainWindow, u"超级列表框1"_qs);
    m_movementList = control<ReportList>(mainWindow, u"超级列表框2"_qs);
    m_movementTitle = control<QLabel>(mainWindow, u"标签5"_qs);
    m_tabs = control<TabControl>(mainWindow, u"选择夹1"_qs);
    m_auxBar = control<StateToolBar>(mainWindow, u"辅_工具条"_qs);
    m_menu = control<QMenu>(mainWindow, u"导入"_qs);
    m_progress = control<QProgressBar>(mainWindow, u"进度条1"_qs);
    showRecordsHint();

    connect(m_stockList, &ReportList::rowDoubleClicked, this, [this](int row) {
        if (row < 0)
            return;
        m_stockList->setSelectedRow(row); // the records are those of the clicked row
        showMovementRecords();
    });
    connect(m_stockList, &ReportList::headerClicked, this, &StockPage::sortByHeader);
    connect(m_movementList, &ReportList::headerClicked, this, &StockPage::fillFromYcl);
    connect(m_stockList, &ReportList::rightClicked, this, [this](int row, QPoint globalPos) {
        if (row >= 0) // the menu acts on a row: none below the last one
            m_menu->popup(globalPos);
    });
    // 记录 opens the row's movement records, as a double click on it does.
    connect(control<QAction>(mainWindow, u"导入_记录"_qs), &QAction::triggered, this,
            &StockPage::showMovementRecords);
    connect(control<QAction>(mainWindow, u"导入_入库"_qs), &QAction::triggered, this,
            [this] { requestDocumentLine(DocumentKind::Receipt); });
    connect(control<QAction>(mainWindow, u"导入_领料"_qs), &QAction::triggered, this,
            [this] { requestDocumentLine(DocumentKind::Requisition); });
    connect(control<QAction>(mainWindow, u"导入_删除"_qs), &QAction::triggered, this,
            &StockPage::deleteSelectedStockRow);
    connect(control<QAction>(mainWindow, u"导入_刷新"_qs), &QAction::triggered, this,
            &StockPage::refresh);
    // 返回 on the movement page leads back to the stock list as it was left.
    connect(control<QPushButton>(mainWindow, u"按钮3"_qs), &QPushButton::clicked, this,
            &StockPage::showAgain);
}

void StockPage::fillStockList(const std::function<QueryOutcome()>& fill)
{
    QueryOutcome outcome;
    {
        const WaitCursor wait;
        // Counted before the rows are read: a change committed in between is read again on
        // the next entry rather than missed.
        const std::optional<qint64> count = changeCount(m_connection);
        outcome = fill();
        m_filledAt = outcome.done ? count : std::nullopt;
    }
    if (outcome.done)
        markSearchResults(!m_showsAllItems);
    setNotRefreshed(*m_tabs, PageStock, !outcome.done);
    // An empty list says why: nothing stored yet, or nothing found.
    m_stockList->setPlaceholderText(
        m_showsAllItems ? u"还没有库存。点“采购入库”，再点“添加”，开第一张入库单。"_qs
                        : u"没有找到这样的物品。点“库存明细”，显示全部物品。"_qs);
    showOutcome(outcome);
}

void StockPage::markSearchResults(bool shown)
{
    // A list of search results reads like the whole stock: the tab says which it is.
    static const QString mark = u"（搜索结果）"_qs;
    const bool stale = isNotRefreshed(*m_tabs, PageStock);
    setNotRefreshed(*m_tabs, PageStock, false);
    QString caption = m_tabs->tabText(PageStock);
    if (caption.endsWith(mark))
        caption.chop(mark.size());
    m_tabs->setTabText(PageStock, shown ? caption + mark : caption);
    setNotRefreshed(*m_tabs, PageStock, stale);
}

void StockPage::refresh()
{
    m_showsAllItems = true;
    fillStockList([this] { return RefreshStockList(m_connection, *m_stockList->model()); });
}

void StockPage::enter()
{
    if (!m_showsAllItems)
        refresh();
    else
        showAgain();
}

void StockPage::showAgain()
{
    const std::optional<qint64> count = changeCount(m_connection);
    if (!count || !m_filledAt || *count != *m_filledAt)
        refresh();
}

void StockPage::showSearchResults(StockSearchField field, const QString& text)
{
    m_showsAllItems = false;
    fillStockList([&] { return SearchStock(m_connection, *m_stockList->model(), field, text); });
}

void StockPage::printMovements(ReportPrint& module)
{
    if (m_movementList->model()->rowCount() == 0) {
        msgBox(u"没有可打印的出入库记录：请先在库存明细中双击一种物品。"_qs, MsgOk, u"提示"_qs);
        return;
    }
    // The item is on no row of the records: on paper it is in the title, as on the page.
    module.OpenReportPrint(m_movementList, 0, QString(), u"出入库记录"_qs, m_movementTitle->text());
}

void StockPage::showRecordsHint()
{
    // The records page reached by its tab before any item was chosen: what to do, instead of
    // an empty title over an empty list.
    m_movementTitle->setText(u"在库存明细中双击一种物品，这里显示它的出入库记录。"_qs);
}

void StockPage::dataReplaced()
{
    refresh();
    m_movementList->model()->clearRows();
    showRecordsHint();
    setNotRefreshed(*m_tabs, PageMovements, false);
}

void StockPage::save()
{
    exportReportList(*m_stockList, u"库存"_qs, m_progress);
}

void StockPage::requestDocumentLine(DocumentKind kind)
{
    const int row = m_stockList->selectedRow();
    if (row < 0)
        return;
    const ReportListModel& list = *m_stockList->model();
    emit documentLineRequested(kind,
                               {list.text(row, StockColCategory), list.text(row, StockColName),
                                list.text(row, StockColUnit), list.text(row, StockColModel)});
}

void StockPage::showMovementRecords()
{
    const int row = m_stockList->selectedRow();
    if (row < 0)
        return;
    const ReportListModel& stock = *m_stockList->model();
    QueryOutcome outcome;
    {
        const WaitCursor wait;
        outcome = FillMovementList(m_connection, *m_movementList->model(),
                                   stock.text(row, StockColName), stock.text(row, StockColModel));
    }
    // Failed: the stock page stays; the records page keeps the item it showed, marked.
    setNotRefreshed(*m_tabs, PageMovements, !outcome.done);
    if (!showOutcome(outcome))
        return;
    m_movementTitle->setText(u"原材料仓库 "_qs + stock.text(row, StockColCategory) + u" "_qs +
                             stock.text(row, StockColName) + u" 出入库记录"_qs);
    m_tabs->setCurrentIndex(PageMovements);
    for (int i = kFirstDocumentButton; i <= kLastDocumentButton; ++i)
        m_auxBar->addState(i, StateToolBar::Disabled);
}

void StockPage::deleteSelectedStockRow()
{
    // Said, as for the audit: a click that does nothing looks like a click that missed.
    if (!session().dataRight) {
        msgBox(u"当前用户没有权限删除数据，请让系统管理员添加权限！"_qs, MsgOk, u"提示"_qs);
        return;
    }
    const int row = m_stockList->selectedRow();
    if (row < 0) {
        msgBox(u"您还没有选择要删除的数据呢！"_qs, MsgOkInfo, u"友情提示"_qs);
        return;
    }
    if (msgBox(u"您真的要删除选中的数据吗？"_qs, MsgOkCancelWarn, u"删除提示"_qs) != AnswerOk) {
        m_stockList->setFocus();
        return;
    }
    const std::optional<int> deleted =
        DeleteStockRowByDatum(m_connection, m_stockList->model()->datum(row));
    if (!deleted) {
        msgBox(u"删除失败："_qs + m_connection.lastErrorForUser(), MsgOk, u"错误"_qs);
        return;
    }
    // A row of the usual list is made by the documents and has no record of its own: after
    // 确定 the row came back as if deleted and shown again.
    if (*deleted == 0)
        msgBox(u"没有删除任何数据：库存明细由入库单和领料单计算得出，这一行没有单独的记录。"
               u"要改变库存，请修改或删除相应的单据。"_qs,
               MsgOk, u"提示"_qs);
    refresh();
}

void StockPage::showContextMenuForSelection(QPoint globalPos)
{
    if (m_stockList->selectedRow() < 0) {
        msgBox(kChooseAnItem);
        return;
    }
    m_menu->popup(globalPos);
}

bool StockPage::selectItem(const std::optional<ItemKey>& item)
{
    if (!item) {
        msgBox(kChooseAnItem);
        return false;
    }
    const ReportListModel& stock = *m_stockList->model();
    for (int row = 0; row < stock.rowCount(); ++row) {
        if (itemKey(stock.text(row, StockColName), stock.text(row, StockColModel)) == *item) {
            m_stockList->setSelectedRow(row);
            return true;
        }
    }
    msgBox(u"库存明细的列表中没有这个物品（可能正显示查询结果），请先刷新库存明细。"_qs, MsgOk,
           u"提示"_qs);
    return false;
}

void StockPage::showContextMenuForItem(QPoint globalPos, const std::optional<ItemKey>& item)
{
    if (selectItem(item))
        m_menu->popup(globalPos);
}

void StockPage::showMovementRecordsForItem(const std::optional<ItemKey>& item)
{
    if (selectItem(item))
        showMovementRecords();
}

void StockPage::fillFromYcl(int column)
{
    if (column != 1 && column != 2)
        return;
    // Without items in that table there is nothing to show: the click leaves the stock list as
    // it is instead of emptying it behind the clerk's back.
    if (!yclHasItems(m_connection))
        return;
    m_showsAllItems = false;
    fillStockList(
        [&] { return FillStockListFromYcl(m_connection, *m_stockList->model(), column); });
}

void StockPage::sortByHeader(int column)
{
    const WaitCursor wait;
    OnStockHeaderClick(*m_stockList->model(), column);
}

} // namespace mv
