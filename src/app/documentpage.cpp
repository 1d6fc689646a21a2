#include "app/documentpage.h"

#include "app/mainpages.h"
#include "app/toolbarsets.h"
#include "common/messages.h"
#include "common/oledate.h"
#include "common/session.h"
#include "documents/documentnumber.h"
#include "documents/documentsave.h"
#include "documents/receipttotals.h"
#include "ui/windowbuilder.h"
#include "widgets/documentgrid.h"
#include "widgets/editbox.h"
#include "widgets/statetoolbar.h"
#include "widgets/tabcontrol.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QPushButton>
#include <QScopeGuard>

namespace mv {

namespace {

// The controls of one page, by objectName.
struct PageControls
{
    const char16_t* number;
    const char16_t* date;
    const char16_t* party;
    const char16_t* category;
    const char16_t* maker;
    const char16_t* auditor;
    const char16_t* grid;
    const char16_t* plus;
    const char16_t* minus;
    const char16_t* back;
};

const PageControls& controlsOf(DocumentKind kind)
{
    static const PageControls receipt{u"编辑框_单号入库",
                                      u"YCLRK_日期框",
                                      u"编辑框_单位入库",
                                      u"组合框_分类",
                                      u"编辑框_制单人_入库",
                                      nullptr,
                                      u"显示数据",
                                      u"按钮7",
                                      u"按钮2",
                                      u"按钮5"};
    static const PageControls requisition{u"编辑框_单号出库",
                                          u"YCLll_日期框",
                                          u"编辑框_出库_项目",
                                          u"组合框_出库分类",
                                          u"编辑框_制单人_出库",
                                          u"编辑框_领料人_出库",
                                          u"显示数据1",
                                          u"按钮1",
                                          u"按钮4",
                                          u"按钮6"};
    return kind == DocumentKind::Receipt ? receipt : requisition;
}

// A control that must exist: a missing one is a loud error naming it.
template <class T> T* required(QWidget* window, const char16_t* name)
{
    T* control = findControl<T>(window, QString::fromUtf16(name));
    if (!control)
        qFatal("DocumentPage: control %s is missing", qPrintable(QString::fromUtf16(name)));
    return control;
}

const QString kModifyTitle = QStringLiteral("修改提示");

// The wait cursor while the database works: a write may wait some seconds for a second copy
// of the program to release the database.
template <class Work> auto withWaitCursor(Work work)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    return work();
}

} // namespace

DocumentPage::DocumentPage(QWidget* mainWindow, Connection& connection, DocumentKind kind)
    : QObject(mainWindow), m_connection(connection), m_kind(kind), m_window(mainWindow)
{
    const PageControls& c = controlsOf(kind);
    m_auxBar = required<StateToolBar>(mainWindow, u"辅_工具条");
    m_tabs = required<TabControl>(mainWindow, u"选择夹1");
    m_banner = required<QWidget>(mainWindow, u"图片框2");
    m_searchButton = required<QWidget>(mainWindow, u"搜索_按钮");
    m_number = required<EditBox>(mainWindow, c.number);
    m_date = required<QDateEdit>(mainWindow, c.date);
    m_party = required<QComboBox>(mainWindow, c.party);
    m_category = required<QComboBox>(mainWindow, c.category);
    m_maker = required<QLineEdit>(mainWindow, c.maker);
    if (c.auditor)
        m_auditor = required<QLineEdit>(mainWindow, c.auditor);
    m_grid = required<DocumentGrid>(mainWindow, c.grid);
    m_plus = required<QPushButton>(mainWindow, c.plus);
    m_minus = required<QPushButton>(mainWindow, c.minus);
    m_back = required<QPushButton>(mainWindow, c.back);

    connect(m_number, &EditBox::enterPressed, this, &DocumentPage::loadTypedNumber);
    connect(m_plus, &QPushButton::clicked, this, &DocumentPage::appendEmptyRow);
    connect(m_minus, &QPushButton::clicked, this, [this] {
        if (m_grid->rowCount() > 1)
            m_grid->deleteRowAt(m_grid->rowCount() - 1);
    });
    setEditable(false);
}

int DocumentPage::pageIndex() const
{
    return m_kind == DocumentKind::Receipt ? PageReceipt : PageRequisition;
}

void DocumentPage::enter()
{
    setEditable(false);
    showLatest();
    appendTotalsRow();
}

void DocumentPage::onAuxButton(int index)
{
    switch (index) {
    case AuxAdd:
        newDocument();
        break;
    case AuxSave:
        save();
        break;
    case AuxModify:
        modify();
        break;
    case AuxDelete:
        remove();
        break;
    case AuxPrevious:
        step(false);
        break;
    case AuxNext:
        step(true);
        break;
    case AuxAudit:
        if (m_kind == DocumentKind::Requisition)
            audit();
        break;
    default:
        break; // 打印 and 预览 go to the document printing of the main window
    }
}

bool DocumentPage::addMode() const
{
    return !m_auxBar->isButtonEnabled(AuxAdd);
}

bool DocumentPage::modifyMode() const
{
    return !m_auxBar->isButtonEnabled(AuxModify);
}

void DocumentPage::setEditable(bool editable)
{
    m_grid->setReadOnly(!editable);
    setHeaderEnabled(editable);
    setRowButtonsVisible(editable);
}

void DocumentPage::setHeaderEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(m_number), static_cast<QWidget*>(m_date),
                       static_cast<QWidget*>(m_party), static_cast<QWidget*>(m_category),
                       static_cast<QWidget*>(m_maker)})
        w->setEnabled(enabled);
    if (m_auditor)
        m_auditor->setEnabled(enabled);
}

void DocumentPage::setRowButtonsVisible(bool visible)
{
    m_plus->setVisible(visible);
    m_minus->setVisible(visible);
}

void DocumentPage::newDocument()
{
    const bool receipt = m_kind == DocumentKind::Receipt;
    if (receipt)
        m_date->setDate(clockToday()); // a stored receipt's date replaces it when there is one
    showLatest();
    prepareBlankForm();
    m_auxBar->removeState(AuxSave, kButtonDisabled);
    // A new document ends a modification that was under way: the form has one mode only.
    m_auxBar->removeState(AuxModify, kButtonDisabled);
    setEditable(true);
    focusBanner();
    m_auxBar->addState(AuxAdd, kButtonDisabled);
    fillDropDownLists();
    m_maker->setText(session().currentUser);
}

void DocumentPage::prepareBlankForm()
{
    m_party->setCurrentText(QString());
    m_category->setCurrentText(QString());
    emptyGrid();
    appendEmptyRow();
    setRowButtonsVisible(true);
    m_number->setText(nextDocumentNumber(m_number->text()));
    if (m_auditor)
        m_auditor->clear();
}

void DocumentPage::fillDropDownLists()
{
    const DropDownLists lists = loadDropDownLists(m_connection, m_kind);
    m_grid->setDropDownItems(LineName, lists.names);
    m_grid->setDropDownItems(LineModel, lists.models);
    m_grid->setDropDownItems(LineUnit, lists.units);
    m_grid->setColumnKind(LineQuantity, DocumentGrid::CellKind::Numeric);
    if (m_kind == DocumentKind::Receipt)
        m_grid->setColumnKind(ReceiptPrice, DocumentGrid::CellKind::Numeric);
    // The typed texts stay: a document being assembled keeps its header.
    const auto refill = [](QComboBox* box, const QStringList& items) {
        const QString text = box->currentText();
        box->clear();
        box->addItems(items);
        box->setCurrentText(text);
    };
    refill(m_category, lists.categories);
    refill(m_party, lists.parties);
}

void DocumentPage::save()
{
    if (modifyMode())
        saveModified();
    else if (addMode())
        saveNew();
}

void DocumentPage::saveNew()
{
    const Document document = readDocument();
    const Outcome outcome = withWaitCursor([&] { return saveDocument(m_connection, document); });
    if (!outcome.done) {
        present(outcome); // add mode and everything typed stay
        return;
    }
    setEditable(false);
    m_auxBar->addState(AuxSave, kButtonDisabled);
    if (m_kind == DocumentKind::Receipt) {
        showLatest();
        appendTotalsRow();
    } else {
        reopenCursorAt(document.header.number); // 上一张/下一张 reach it at once
    }
    m_auxBar->removeState(AuxAdd, kButtonDisabled);
    emit stockChanged();
}

void DocumentPage::saveModified()
{
    const Document document = readDocument();
    const QString number = m_number->text();
    const Outcome outcome = withWaitCursor(
        [&] { return saveDocument(m_connection, document, number, m_shownVersion); });
    if (!outcome.done) {
        present(outcome);
        msgBox(number + QStringLiteral("修改失败！"), MsgOk, kModifyTitle);
        return; // the stored document is as it was; modify mode stays
    }
    setEditable(false);
    m_auxBar->addState(AuxSave, kButtonDisabled);
    m_auxBar->removeState(AuxModify, kButtonDisabled);
    if (m_kind == DocumentKind::Receipt) {
        showLatest(); // as after every receipt save: the highest number is shown
        appendTotalsRow();
    } else {
        load(number); // the auditor as stored: the new version carries none
        reopenCursorAt(number);
    }
    msgBox(number + QStringLiteral("修改成功！"), MsgOk, kModifyTitle);
    emit stockChanged();
}

void DocumentPage::modify()
{
    if (addMode() || modifyMode())
        return; // a document being added or modified is already editable
    setRowButtonsVisible(true);
    m_auxBar->removeState(AuxSave, kButtonDisabled);
    m_auxBar->addState(AuxModify, kButtonDisabled);
    m_grid->setReadOnly(false);
    if (hasTotalsRow())
        m_grid->deleteRowAt(m_grid->rowCount() - 1);
}

void DocumentPage::remove()
{
    if (msgBox(QStringLiteral("删除之后数据将无法恢复。确定要删除吗？"), MsgYesNo,
               QStringLiteral("删除提示")) != AnswerYes)
        return;
    const Outcome outcome = withWaitCursor(
        [&] { return deleteDocument(m_connection, m_kind, m_number->text(), m_shownVersion); });
    present(outcome);
    if (!outcome.done)
        return;
    m_tabs->setCurrentIndex(pageIndex());
    m_auxBar->show();
    showLatest();
    m_auxBar->removeState(AuxAdd, kButtonDisabled);
    m_auxBar->addState(AuxSave, kButtonDisabled);
    for (int i = AuxModify; i <= 10; ++i)
        m_auxBar->removeState(i, kButtonDisabled);
    setEditable(false);
    appendTotalsRow();
    m_searchButton->hide();
    emit stockChanged();
}

void DocumentPage::step(bool forward)
{
    m_auxBar->removeState(forward ? AuxPrevious : AuxNext, kButtonDisabled);
    if (forward)
        m_cursor.next();
    else
        m_cursor.previous();
    m_number->setText(m_cursor.current());
    if (m_number->text() == (forward ? m_cursor.last() : m_cursor.first()))
        m_auxBar->addState(forward ? AuxNext : AuxPrevious, kButtonDisabled);
    m_grid->setReadOnly(true);
    load(m_number->text());
    focusBanner();
    appendTotalsRow();
}

void DocumentPage::audit()
{
    AuditRequest request;
    request.number = m_number->text();
    request.auditorShown = m_auditor->text();
    request.formEditable = !m_grid->isReadOnly();
    request.user = session().currentUser;
    request.auditRight = session().auditRight;
    const Outcome outcome = withWaitCursor([&] { return auditRequisition(m_connection, request); });
    if (outcome.done)
        m_auditor->setText(request.user);
    present(outcome);
}

void DocumentPage::loadTypedNumber()
{
    if (addMode() || modifyMode())
        return; // Enter must not replace the lines being typed
    load(m_number->text());
    appendTotalsRow();
}

void DocumentPage::addStockRow(const StockRowValues& row)
{
    if (m_grid->isReadOnly()) {
        prepareBlankForm(); // numbered after the document shown
        m_grid->deleteRowAt(m_grid->rowCount() - 1);
        m_date->setDate(clockToday());
    }
    fillDropDownLists();
    appendEmptyRow();
    m_auxBar->show();
    m_tabs->setCurrentIndex(pageIndex());
    showDocumentButtons();
    m_auxBar->addState(AuxAdd, kButtonDisabled);
    if (m_kind == DocumentKind::Receipt) {
        for (int i = AuxSave; i <= 10; ++i)
            m_auxBar->removeState(i, kButtonDisabled);
    } else {
        m_auxBar->removeState(AuxSave, kButtonDisabled);
    }
    setEditable(true);
    m_category->setCurrentText(row.category);
    const int last = m_grid->rowCount() - 1;
    m_grid->setCellText(last, LineName, row.name);
    m_grid->setCellText(last, LineModel, row.model);
    m_grid->setCellText(last, LineUnit, row.unit);
    if (m_kind == DocumentKind::Receipt)
        m_maker->setText(session().currentUser); // a requisition keeps the maker it shows
    focusBanner();
}

void DocumentPage::showDocumentButtons()
{
    for (int i = AuxAdd; i <= AuxAudit; ++i)
        m_auxBar->removeState(i, kButtonHidden);
    for (int i : {AuxMovements, AuxSearch})
        m_auxBar->addState(i, kButtonHidden);
    m_searchButton->hide();
}

void DocumentPage::openDocument(const QString& number)
{
    m_tabs->setCurrentIndex(pageIndex());
    setEditable(false);
    showLatest();
    load(number);
    m_back->show();
    m_auxBar->removeState(AuxAdd, kButtonDisabled);
    m_auxBar->addState(AuxSave, kButtonDisabled);
    for (int i = AuxModify; i <= 10; ++i)
        m_auxBar->removeState(i, kButtonDisabled);
    appendTotalsRow();
}

void DocumentPage::showLatest()
{
    m_cursor.reset(documentNumbers(m_connection, m_kind));
    m_number->setText(m_cursor.current());
    load(m_number->text());
    if (m_kind == DocumentKind::Receipt)
        m_grid->setReadOnly(true);
}

void DocumentPage::reopenCursorAt(const QString& number)
{
    m_cursor.reset(documentNumbers(m_connection, m_kind));
    m_cursor.moveTo(number);
}

void DocumentPage::load(const QString& number)
{
    // Read before the lines: should another clerk save in between, the version is older
    // than what is shown, and a change made here is refused rather than overwriting his.
    m_shownVersion = storedDocumentVersion(m_connection, m_kind, number);
    QString error;
    const std::optional<LoadedDocument> document =
        loadDocument(m_connection, m_kind, number, &error);
    emptyGrid();
    if (!document) {
        msgBox(QStringLiteral("读取单据失败，数据库报告：") + error, MsgOk, QStringLiteral("错误"));
        return;
    }
    if (document->lines.isEmpty())
        return; // header and number box stay as they were
    const DocumentHeader& h = document->header;
    m_date->setDate(h.date);
    m_maker->setText(h.maker);
    m_party->setCurrentText(h.party);
    m_category->setCurrentText(h.category);
    m_number->setText(h.number);
    if (m_auditor)
        m_auditor->setText(document->auditor);
    for (const DocumentLine& line : document->lines) {
        const int row = m_grid->rowCount();
        m_grid->insertRowAt(row);
        for (int c = 0; c < line.cells.size(); ++c)
            m_grid->setCellText(row, c, line.cells.at(c));
    }
}

void DocumentPage::emptyGrid()
{
    m_grid->clearSpans();
    m_grid->setRowCount(1); // the heading row stays
}

void DocumentPage::appendEmptyRow()
{
    m_grid->insertRowAt(m_grid->rowCount());
}

bool DocumentPage::hasTotalsRow() const
{
    const int last = m_grid->rowCount() - 1;
    return m_kind == DocumentKind::Receipt && last >= 1 && m_grid->columnSpan(last, 0) > 1;
}

void DocumentPage::appendTotalsRow()
{
    if (m_kind != DocumentKind::Receipt || !m_grid->isReadOnly() || hasTotalsRow())
        return;
    const QList<DocumentLine> lines = readDocument().lines;
    const ReceiptTotals totals = receiptTotals(lines);
    for (int i = 0; i < totals.lineTotals.size(); ++i)
        m_grid->setCellText(i + 1, ReceiptLineTotal, totals.lineTotals.at(i));
    const int row = m_grid->rowCount();
    m_grid->insertRowAt(row);
    m_grid->mergeCells(row, 0, 1, ReceiptLineTotal + 1);
    m_grid->setCellText(row, 0, totals.text);
    m_grid->item(row, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

Document DocumentPage::readDocument() const
{
    Document document;
    document.kind = m_kind;
    document.header.number = m_number->text();
    document.header.date = m_date->date();
    document.header.party = m_party->currentText();
    document.header.category = m_category->currentText();
    document.header.maker = m_maker->text();
    const int rows = m_grid->rowCount() - (hasTotalsRow() ? 1 : 0);
    const int columns = storedColumnCount(m_kind);
    for (int r = 1; r < rows; ++r) {
        DocumentLine line;
        for (int c = 0; c < columns; ++c)
            line.cells.append(m_grid->cellText(r, c));
        document.lines.append(line);
    }
    return document;
}

PrintedDocument DocumentPage::printedDocument() const
{
    PrintedDocument document;
    document.kind = m_kind;
    document.number = m_number->text();
    document.date = m_date->date();
    document.party = m_party->currentText();
    document.maker = m_maker->text();
    if (m_auditor)
        document.auditor = m_auditor->text();
    for (int r = 1; r < m_grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_grid->columnCount(); ++c)
            cells.append(m_grid->cellText(r, c));
        document.rows.append(cells);
    }
    document.editing = addMode() || modifyMode();
    return document;
}

void DocumentPage::present(const Outcome& outcome)
{
    if (!outcome.message.isEmpty())
        msgBox(outcome.message, MsgOk, outcome.title);
    if (!outcome.focus.isEmpty())
        if (QWidget* control = findControl<QWidget>(m_window, outcome.focus))
            control->setFocus();
}

void DocumentPage::focusBanner()
{
    m_banner->setFocus();
}

} // namespace mv
