#include "gui/documents/documentpages.h"

#include "common/reportlistmodel.h"
#include "forms/windowbuilder.h"
#include "gui/documents/documentpage.h"
#include "widgets/reportlist.h"

namespace mv {

DocumentPages::DocumentPages(QWidget* mainWindow, Connection& connection) : QObject(mainWindow)
{
    m_movementList = control<ReportList>(mainWindow, QStringLiteral("超级列表框2"));
    m_receipt = new DocumentPage(mainWindow, connection, DocumentKind::Receipt);
    m_requisition = new DocumentPage(mainWindow, connection, DocumentKind::Requisition);
    for (DocumentPage* page : {m_receipt, m_requisition})
        connect(page, &DocumentPage::stockChanged, this, &DocumentPages::stockChanged);
    connect(m_movementList, &ReportList::rowDoubleClicked, this, &DocumentPages::openMovementRow);
}

DocumentPage* DocumentPages::onPage(int page) const
{
    if (page == m_receipt->pageIndex())
        return m_receipt;
    if (page == m_requisition->pageIndex())
        return m_requisition;
    return nullptr;
}

bool DocumentPages::hasUnsavedDocument() const
{
    return m_receipt->hasUnsavedChanges() || m_requisition->hasUnsavedChanges();
}

void DocumentPages::abandonEdits()
{
    m_receipt->abandonEdits();
    m_requisition->abandonEdits();
}

void DocumentPages::dataReplaced()
{
    m_receipt->dataReplaced();
    m_requisition->dataReplaced();
}

void DocumentPages::offerDrafts()
{
    m_receipt->offerDraft();
    m_requisition->offerDraft();
}

void DocumentPages::addStockRow(DocumentKind kind, const StockItem& item)
{
    (kind == DocumentKind::Receipt ? m_receipt : m_requisition)->addStockRow(item);
}

void DocumentPages::openMovementRow(int row)
{
    if (row < 0)
        return;
    // Columns of the movement list: 出入库, 数量, 单据号, 人员, 时间.
    const ReportListModel& list = *m_movementList->model();
    DocumentPage* page = list.text(row, 0) == QStringLiteral("入库") ? m_receipt : m_requisition;
    page->openDocument(list.text(row, 2));
}

} // namespace mv
