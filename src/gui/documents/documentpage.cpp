#include "gui/documents/documentpage.h"

#include "common/messages.h"
#include "common/oledate.h"
#include "common/session.h"
#include "common/texts.h"
#include "db/connection.h"
#include "db/databasechoiceurl.h"
#include "documents/documentdraft.h"
#include "documents/documentnumber.h"
#include "documents/documentrules.h"
#include "documents/documentsave.h"
#include "documents/quantity.h"
#include "exchange/backup/databasebackup.h"
#include "forms/windowbuilder.h"
#include "gui/documents/linestockhint.h"
#include "gui/documents/lineunitfill.h"
#include "gui/main/mainpages.h"
#include "gui/main/toolbarsets.h"
#include "widgets/combobox.h"
#include "widgets/documentgrid.h"
#include "widgets/editbox.h"
#include "widgets/notrefreshed.h"
#include "widgets/showoutcome.h"
#include "widgets/statetoolbar.h"
#include "widgets/tabcontrol.h"
#include "widgets/waitcursor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

namespace mv {

namespace {

// The page of one kind and its controls, by objectName.
struct PageControls
{
    int page;
    QString number;
    QString date;
    QString party;
    QString category;
    QString maker;
    QString auditor; // audited kinds only
    QString grid;
    QString plus;
    QString minus;
    QString back;
};

const PageControls& controlsOf(DocumentKind kind)
{
    static const PageControls receipt{PageReceipt,        u"编辑框_单号入库"_qs,
                                      u"YCLRK_日期框"_qs, u"编辑框_单位入库"_qs,
                                      u"组合框_分类"_qs,  u"编辑框_制单人_入库"_qs,
                                      QString(),          u"显示数据"_qs,
                                      u"按钮7"_qs,        u"按钮2"_qs,
                                      u"按钮5"_qs};
    static const PageControls requisition{PageRequisition,
                                          u"编辑框_单号出库"_qs,
                                          u"YCLll_日期框"_qs,
                                          u"编辑框_出库_项目"_qs,
                                          u"组合框_出库分类"_qs,
                                          u"编辑框_制单人_出库"_qs,
                                          u"编辑框_领料人_出库"_qs,
                                          u"显示数据1"_qs,
                                          u"按钮1"_qs,
                                          u"按钮4"_qs,
                                          u"按钮6"_qs};
    return kind == DocumentKind::Receipt ? receipt : requisition;
}

const QString kModifyTitle = QStringLiteral("修改提示");
const QString kHint = QStringLiteral("提示");
const QString kError = QStringLiteral("错误");

// A stored name longer than its box reads from its first character.
void showFromStart(QLineEdit* edit)
{
    if (edit)
        edit->setCursorPosition(0);
}

void setBoxText(QComboBox* box, const QString& text)
{
    box->setCurrentText(text);
    showFromStart(box->lineEdit());
}

} // namespace

DocumentPage::DocumentPage(QWidget* mainWindow, Connection& connection, DocumentKind kind)
    : QObject(mainWindow), m_connection(connection), m_kind(kind), m_rules(documentRules(kind)),
      m_window(mainWindow)
{
    const PageControls& c = controlsOf(kind);
    m_page = c.page;
    m_auxBar = control<StateToolBar>(mainWindow, u"辅_工具条"_qs);
    m_tabs = control<TabControl>(mainWindow, u"选择夹1"_qs);
    m_banner = control<QWidget>(mainWindow, u"图片框2"_qs);
    m_searchButton = control<QWidget>(mainWindow, u"搜索_按钮"_qs);
    m_number = control<EditBox>(mainWindow, c.number);
    m_date = control<QDateEdit>(mainWindow, c.date);
    m_party = control<QComboBox>(mainWindow, c.party);
    m_category = control<QComboBox>(mainWindow, c.category);
    m_maker = control<QLineEdit>(mainWindow, c.maker);
    if (m_rules.audited) {
        m_auditor = control<QLineEdit>(mainWindow, c.auditor);
        m_auditor->setReadOnly(true); // only the audit writes it, and only what is stored
    }
    m_grid = control<DocumentGrid>(mainWindow, c.grid);
    m_plus = control<QPushButton>(mainWindow, c.plus);
    m_minus = control<QPushButton>(mainWindow, c.minus);
    m_back = control<QPushButton>(mainWindow, c.back);
    // "+" and "-" say what they do to the mouse pointer and to a screen reader.
    for (auto [button, text] : {std::pair{m_plus, u"在末尾添加一行"_qs},
                                {m_minus, u"删除所在的行（末尾的空行先删）"_qs}}) {
        button->setToolTip(text);
        button->setAccessibleName(text);
    }
    new LineUnitFill(m_grid, connection); // owned by the grid
    // Beside the last footer field: the auditor's on a requisition, the maker's on a receipt.
    new LineStockHint(m_grid, m_auditor ? m_auditor : m_maker, connection); // owned by the grid
    m_banner->installEventFilter(this);
    for (QWidget* field : std::initializer_list<QWidget*>{m_number, m_date, m_party, m_category})
        field->installEventFilter(this);
    if (m_rules.priced) {
        // The line total follows the quantity and price as they are typed: a modified line
        // must not keep showing the total of what was stored.
        m_grid->setColumnKind(ReceiptLineTotal, DocumentGrid::CellKind::Computed);
        connect(m_grid, &DocumentGrid::cellEdited, this, [this](int, int column) {
            if (column == LineQuantity || column == ReceiptPrice)
                showTypedLineTotals();
        });
    }

    m_fields = {{DocumentField::Number, m_number},
                {DocumentField::Party, m_party},
                {DocumentField::Category, m_category},
                {DocumentField::Maker, m_maker},
                {DocumentField::Quantity, m_grid, LineQuantity},
                {DocumentField::LineName, m_grid, LineName},
                {DocumentField::LineUnit, m_grid, LineUnit}};

    // A document being added or modified is kept in a draft file, looked at every second:
    // each cell typed, a line pasted or taken away, and the text of a cell still being typed.
    m_draftTimer.setInterval(1000);
    connect(&m_draftTimer, &QTimer::timeout, this, &DocumentPage::keepDraft);

    connect(m_number, &EditBox::enterPressed, this, &DocumentPage::loadTypedNumber);
    connect(m_plus, &QPushButton::clicked, this, [this] {
        commitEdits();
        appendEmptyRow();
    });
    connect(m_minus, &QPushButton::clicked, this, [this] {
        commitEdits();
        // An empty last line goes first (a "+" taken back); otherwise the line the clerk is
        // on, not another he may have typed; with none chosen, the last one.
        const int last = m_grid->rowCount() - 1;
        const int current = m_grid->currentRow();
        const int row = readLine(last).isBlank() || current < 1 ? last : current;
        if (row >= 1)
            m_grid->deleteRowAt(row);
    });
    showMode();
}

void DocumentPage::enter()
{
    if (!mayLeaveForm()) {
        showMode(); // the button set just applied shows read-only: show the form's own mode
        return;
    }
    endForm();
    showMode();
    showLatest();
    appendTotalsRow();
}

void DocumentPage::reshow()
{
    if (!m_form.editing() && m_shownNumber.isEmpty()) {
        enter();
        return;
    }
    showMode();
}

void DocumentPage::onAuxButton(int index)
{
    switch (index) {
    case AuxAdd:
        newDocument();
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
        if (m_rules.audited)
            audit();
        else // said, rather than a button that seems not to work
            msgBox(QStringLiteral("入库单不需要审核，只有领料单需要审核。"), MsgOkInfo, kHint);
        break;
    default:
        break; // 保存, 打印 and 预览 are the main window's
    }
}

bool DocumentPage::hasUnsavedChanges()
{
    return m_form.editing() && m_form.hasUnsavedChanges(readDocument());
}

void DocumentPage::abandonEdits()
{
    endForm();
    showMode();
}

void DocumentPage::dataReplaced()
{
    abandonEdits();
    // Neither a given-up form nor a document of the old data may pass for a stored one.
    m_shownNumber.clear();
    m_shownVersion.clear();
}

void DocumentPage::endForm()
{
    m_form.end();
    m_draftTimer.stop();
    m_draft = {};
    draftFile().remove(); // saved, or given up with the clerk's word
}

DraftFile DocumentPage::draftFile() const
{
    // A server by its address without the password the address may carry.
    const QString database =
        m_connection.path().isEmpty() ? serverDescription(m_connection.url()) : m_connection.path();
    return DraftFile(dataDirectoryOf(m_connection), database, session().currentUser, m_kind);
}

void DocumentPage::keepDraft()
{
    if (!m_form.editing())
        return;
    // Read as it stands: an editor open in the grid stays open under the clerk's typing.
    const Document form = formAsItStands(true);
    if (form == m_draft)
        return;
    const DraftFile file = draftFile();
    const bool modifying = m_form.mode() == FormMode::Modifying;
    if (!m_form.hasUnsavedChanges(form))
        file.remove();
    else if (!file.write({form, clockNow(), modifying, modifying ? m_shownVersion : QString()}))
        qWarning("The draft %s could not be written", qPrintable(file.path()));
    m_draft = form;
}

void DocumentPage::offerDraft()
{
    const std::optional<DocumentDraft> draft = draftFile().read();
    if (!draft)
        return;
    const QString number = draft->document.header.number;
    const QTime time = draft->written.time();
    const QString facts =
        QStringLiteral("（%1 行，%2填写）")
            .arg(draft->document.lines.size())
            .arg(dateText(QDateTime(draft->written.date(), QTime(time.hour(), time.minute()))));
    const QString question =
        draft->modifying
            ? QStringLiteral("上次对%1 %2 的修改没有保存，程序就关闭了%3。要找回修改继续填写吗？"
                             "\n选“否”将丢弃这些修改。")
                  .arg(m_rules.name, number, facts)
            : QStringLiteral("上次有一张%1没有保存，程序就关闭了%2。要找回它继续填写吗？"
                             "\n选“否”将丢弃它。")
                  .arg(m_rules.name, facts);
    if (msgBox(question, MsgYesNo, QStringLiteral("询问")) != AnswerYes) {
        draftFile().remove();
        return;
    }
    m_auxBar->show();
    m_tabs->setCurrentIndex(pageIndex());
    showDocumentButtons();
    if (draft->modifying) {
        if (!resumeModification(*draft))
            return;
    } else {
        newDocument(); // numbered and listed afresh: the draft's number may be taken by now
        if (m_form.mode() != FormMode::Adding) {
            draftFile().write(*draft); // not lost: offered again
            return;
        }
        const DocumentHeader& header = draft->document.header;
        if (header.date.isValid())
            m_date->setDate(header.date);
        setBoxText(m_party, header.party);
        setBoxText(m_category, header.category);
    }
    emptyGrid();
    appendLines(draft->document.lines);
    if (m_grid->rowCount() == 1)
        appendEmptyRow();
    if (m_rules.priced)
        showTypedLineTotals();
    keepDraft(); // the form is the draft now
}

bool DocumentPage::resumeModification(const DocumentDraft& draft)
{
    const QString number = draft.document.header.number;
    endForm();
    showMode();
    // Only onto the version the modification began on: one changed or deleted since would
    // have those changes overwritten unseen.
    const QString stored = storedDocumentVersion(m_connection, m_kind, number);
    if (stored != draft.storedVersion) {
        const QString why = stored.isEmpty()
                                ? u"已经被删除，修改无法找回。"_qs
                                : u"在程序关闭之后又被修改过，找回的修改不能再用在它上面。"_qs;
        msgBox(m_rules.name + u' ' + number + u' ' + why, MsgOk, kHint);
        showLatest();
        appendTotalsRow();
        return false;
    }
    showLatest();
    const bool loaded = load(number); // said when it cannot be read
    if (loaded)
        reopenCursorAt(number);
    appendTotalsRow();
    if (!loaded) {
        draftFile().write(draft); // not lost: offered again
        return false;
    }
    modify(); // asks first about an audited requisition
    return m_form.mode() == FormMode::Modifying;
}

bool DocumentPage::mayLeaveForm()
{
    if (!hasUnsavedChanges())
        return true;
    return msgBox(QStringLiteral("当前单据已修改，是否放弃修改？"), MsgYesNo,
                  QStringLiteral("询问")) == AnswerYes;
}

void DocumentPage::showMode()
{
    const FormMode mode = m_form.mode();
    const bool editing = m_form.editing();
    const bool adding = mode == FormMode::Adding;
    m_grid->setReadOnly(!editing);
    // A new document's header is typed; a stored one's header stays as stored. The number box
    // takes a number to look up while a stored document is shown.
    for (QWidget* w : {static_cast<QWidget*>(m_date), static_cast<QWidget*>(m_party),
                       static_cast<QWidget*>(m_category), static_cast<QWidget*>(m_maker)})
        w->setEnabled(adding);
    if (m_auditor)
        m_auditor->setEnabled(adding);
    m_number->setEnabled(mode != FormMode::Modifying);
    m_plus->setVisible(editing);
    m_minus->setVisible(editing);
    // The toolbar serves every page: it shows this form's mode only while the page is shown.
    if (m_tabs->currentIndex() != pageIndex())
        return;
    const auto enable = [this](int button, bool enabled) {
        if (enabled)
            m_auxBar->removeState(button, kButtonDisabled);
        else
            m_auxBar->addState(button, kButtonDisabled);
    };
    enable(AuxAdd, !adding);
    enable(AuxModify, mode != FormMode::Modifying);
    enable(AuxSave, editing);
}

void DocumentPage::newDocument()
{
    if (!mayLeaveForm())
        return;
    endForm();
    if (!showLatest() || !prepareBlankForm()) {
        showMode();
        appendTotalsRow();
        return;
    }
    fillDropDownLists();
    m_maker->setText(session().currentUser);
    m_form.start(FormMode::Adding, readDocument());
    m_draftTimer.start();
    showMode();
    focusBanner();
}

bool DocumentPage::prepareBlankForm()
{
    QString error;
    const std::optional<QString> number = nextFreeNumber(m_connection, m_kind, &error);
    if (!number) {
        msgBox(QStringLiteral("读取单据号失败，数据库报告：") + error, MsgOk, kError);
        return false;
    }
    setBoxText(m_party, QString());
    setBoxText(m_category, QString());
    emptyGrid();
    appendEmptyRow();
    m_grid->setPlaceholderText(QString()); // the first one is being typed
    // A new document is dated today, not like the latest one shown before it: a date carried
    // over from last month would book the goods into last month's summary unnoticed.
    m_date->setDate(clockToday());
    m_number->setText(*number);
    m_shownNumber = *number;
    m_shownVersion.clear(); // not stored yet
    // The new document comes after the last one stored, so 上一张 leads back to that one
    // rather than past it.
    m_cursor.moveToEnd();
    if (m_auditor)
        m_auditor->clear();
    return true;
}

void DocumentPage::fillDropDownLists()
{
    m_grid->setColumnKind(LineQuantity, DocumentGrid::CellKind::Numeric);
    if (m_rules.priced)
        m_grid->setColumnKind(ReceiptPrice, DocumentGrid::CellKind::Numeric);
    QString error;
    const std::optional<DropDownLists> lists = loadDropDownLists(m_connection, m_kind, &error);
    if (!lists) {
        msgBox(QStringLiteral("读取下拉列表失败，数据库报告：") + error, MsgOk, kError);
        return; // the lists offered so far stay
    }
    m_grid->setDropDownItems(LineName, lists->names);
    m_grid->setDropDownItems(LineModel, lists->models);
    m_grid->setDropDownItems(LineUnit, lists->units);
    // The typed texts stay: a document being assembled keeps its header.
    const auto refill = [](QComboBox* box, const QStringList& items) {
        const QString text = box->currentText();
        setListItems(box, items);
        setBoxText(box, text);
    };
    refill(m_category, lists->categories);
    refill(m_party, lists->parties);
}

void DocumentPage::save()
{
    if (m_form.mode() != FormMode::Modifying && m_form.mode() != FormMode::Adding)
        return;
    // The stock counts whole items: a quantity it would count as less is said before saving.
    const Document document = readDocument();
    const QString question = partCountedQuestion(document.lines);
    if (!question.isEmpty() && msgBox(question, MsgYesNo, QStringLiteral("询问")) != AnswerYes)
        return; // the form stays as typed, to correct the quantity
    if (m_form.mode() == FormMode::Modifying)
        saveModified(document);
    else
        saveNew(document);
}

void DocumentPage::saveNew(const Document& typed)
{
    Document document = typed;
    DocumentOutcome outcome = withWaitCursor([&] { return saveDocument(m_connection, document); });
    // Another clerk saved a document under the number 添加 gave this one: it takes the next
    // free number, which the clerk is told. A number he typed himself is refused as stored.
    const QString given = document.header.number;
    for (int tries = 0;
         tries < 3 && refusedAsDuplicateNumber(outcome) && document.header.number == m_shownNumber;
         ++tries) {
        const std::optional<QString> next = nextFreeNumber(m_connection, m_kind);
        if (!next || *next == document.header.number)
            break;
        document.header.number = *next;
        m_number->setText(*next);
        m_shownNumber = *next;
        outcome = withWaitCursor([&] { return saveDocument(m_connection, document); });
    }
    if (!outcome.done) {
        present(outcome); // add mode and everything typed stay
        return;
    }
    // The page shows the document as stored, so that it can be modified or deleted at once.
    endForm();
    showMode();
    load(document.header.number);
    reopenCursorAt(document.header.number);
    appendTotalsRow();
    m_grid->scrollToBottom(); // the total of a long document in view, where the typing ended
    if (document.header.number != given)
        msgBox(QStringLiteral("单据号 %1 已被其他用户使用，本单已保存为 %2。")
                   .arg(given, document.header.number),
               MsgOkInfo, kHint);
    emit stockChanged();
}

void DocumentPage::saveModified(const Document& document)
{
    const QString number = m_shownNumber;
    const DocumentOutcome outcome = withWaitCursor(
        [&] { return saveDocument(m_connection, document, number, m_shownVersion); });
    if (!outcome.done) {
        present(outcome);
        msgBox(number + QStringLiteral("修改失败！"), MsgOk, kModifyTitle);
        return; // the stored document is as it was; modify mode stays
    }
    endForm();
    showMode();
    load(number); // as stored: the new version carries no auditor
    reopenCursorAt(number);
    appendTotalsRow();
    m_grid->scrollToBottom();
    msgBox(number + QStringLiteral("修改成功！"), MsgOk, kModifyTitle);
    emit stockChanged();
}

void DocumentPage::modify()
{
    if (m_form.editing())
        return; // a document being added or modified is already editable
    commitEdits();
    if (m_shownNumber.isEmpty()) {
        msgBox(QStringLiteral("没有可以修改的单据！"), MsgOk, kHint);
        return;
    }
    // A modified requisition is stored anew, without its audit: said before it is changed.
    if (m_auditor && !m_auditor->text().isEmpty() &&
        msgBox(QStringLiteral("该单已由%1审核，修改保存后须重新审核。确定要修改吗？")
                   .arg(m_auditor->text()),
               MsgYesNo, QStringLiteral("修改提示")) != AnswerYes)
        return;
    if (hasTotalsRow())
        m_grid->deleteRowAt(m_grid->rowCount() - 1);
    m_form.start(FormMode::Modifying, readDocument());
    m_draftTimer.start();
    showMode();
}

void DocumentPage::remove()
{
    commitEdits();
    const QString removal = QStringLiteral("删除提示");
    if (m_form.mode() == FormMode::Adding) {
        // Nothing is stored under a new document's number yet: 删除 gives up what was typed
        // (asked when anything was), rather than asking to delete and then refusing.
        if (hasUnsavedChanges() && msgBox(QStringLiteral("这张新单据还没有保存。确定要放弃它吗？"),
                                          MsgYesNo, removal) != AnswerYes)
            return;
        showLatestAfterRemoval();
        return;
    }
    // An audited requisition takes its audit with it: said in the question.
    const QString audited = m_auditor && !m_auditor->text().isEmpty()
                                ? QStringLiteral("该单已由%1审核。").arg(m_auditor->text())
                                : QString();
    if (msgBox(audited + QStringLiteral("删除之后数据将无法恢复。确定要删除吗？"), MsgYesNo,
               removal) != AnswerYes)
        return;
    const DocumentOutcome outcome = withWaitCursor(
        [&] { return deleteDocument(m_connection, m_kind, m_shownNumber, m_shownVersion); });
    present(outcome);
    if (!outcome.done)
        return;
    showLatestAfterRemoval();
    emit stockChanged();
}

void DocumentPage::showLatestAfterRemoval()
{
    m_tabs->setCurrentIndex(pageIndex());
    m_auxBar->show();
    endForm();
    showMode();
    showLatest();
    for (int i = AuxModify; i <= 10; ++i)
        m_auxBar->removeState(i, kButtonDisabled);
    appendTotalsRow();
    m_searchButton->hide();
}

void DocumentPage::step(bool forward)
{
    // Leaving the document ends its modification: nothing is carried over to the next one.
    if (!mayLeaveForm())
        return;
    endForm();
    showMode();
    DocumentCursor moved = m_cursor;
    if (forward)
        moved.next();
    else
        moved.previous();
    const QString number = moved.current();
    // Unread, the page stays on the document it shows.
    if (load(number)) {
        m_cursor = moved;
        m_auxBar->removeState(forward ? AuxPrevious : AuxNext, kButtonDisabled);
        if (number == (forward ? moved.last() : moved.first()))
            m_auxBar->addState(forward ? AuxNext : AuxPrevious, kButtonDisabled);
    }
    focusBanner();
    appendTotalsRow();
}

void DocumentPage::audit()
{
    commitEdits();
    AuditRequest request;
    request.number = m_shownNumber;
    request.auditorShown = m_auditor->text();
    request.formEditable = m_form.editing();
    request.user = session().currentUser;
    request.auditRight = session().auditRight;
    request.shownVersion = m_shownVersion;
    const DocumentOutcome outcome =
        withWaitCursor([&] { return auditRequisition(m_connection, request); });
    // The box shows the auditor as stored: the name just written, or another clerk's.
    if (!m_form.editing() && !m_shownNumber.isEmpty()) {
        if (const std::optional<QString> auditor = storedAuditor(m_connection, m_shownNumber))
            m_auditor->setText(*auditor);
    }
    present(outcome);
}

void DocumentPage::loadTypedNumber()
{
    if (m_form.editing())
        return; // Enter must not replace the lines being typed
    const QString typed = foldFullWidth(m_number->text()).trimmed();
    const std::optional<QStringList> numbers = readNumbers();
    if (!numbers) {
        m_number->setText(m_shownNumber);
        return;
    }
    const QString number = typedDocumentNumber(typed, *numbers);
    if (number.isEmpty()) {
        m_number->setText(m_shownNumber); // the page stays as it was
        msgBox(QStringLiteral("没有单号为 ") + typed + QStringLiteral(" 的单据"), MsgOk, kHint);
        focusControl(m_number); // selected: the number typed next replaces it
        return;
    }
    if (!load(number)) {
        m_number->setText(m_shownNumber);
        appendTotalsRow();
        return;
    }
    m_cursor.reset(*numbers);
    m_cursor.moveTo(number);
    for (int button : {AuxPrevious, AuxNext})
        m_auxBar->removeState(button, kButtonDisabled);
    if (number == m_cursor.first())
        m_auxBar->addState(AuxPrevious, kButtonDisabled);
    if (number == m_cursor.last())
        m_auxBar->addState(AuxNext, kButtonDisabled);
    appendTotalsRow();
}

void DocumentPage::addStockRow(const StockItem& row)
{
    m_auxBar->show();
    m_tabs->setCurrentIndex(pageIndex());
    showDocumentButtons();
    if (!m_form.editing()) {
        newDocument(); // numbered, made and listed exactly as 添加 does
        if (!m_form.editing())
            return;
        m_grid->deleteRowAt(m_grid->rowCount() - 1);
    } else {
        fillDropDownLists();
    }
    appendEmptyRow();
    for (int i = AuxDelete; i <= 10; ++i)
        m_auxBar->removeState(i, kButtonDisabled);
    showMode();
    if (m_form.mode() == FormMode::Adding) // a document being modified keeps its stored header
        setBoxText(m_category, row.category);
    const int last = m_grid->rowCount() - 1;
    m_grid->setCellText(last, LineName, row.name);
    m_grid->setCellText(last, LineModel, row.model);
    m_grid->setCellText(last, LineUnit, row.unit);
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
    if (!mayLeaveForm())
        return;
    m_tabs->setCurrentIndex(pageIndex());
    endForm();
    showMode();
    showLatest();
    if (load(number))
        reopenCursorAt(number);
    m_back->show();
    for (int i = AuxModify; i <= 10; ++i)
        m_auxBar->removeState(i, kButtonDisabled);
    appendTotalsRow();
}

std::optional<QStringList> DocumentPage::readNumbers()
{
    QString error;
    std::optional<QStringList> numbers = documentNumbers(m_connection, m_kind, &error);
    if (!numbers)
        msgBox(QStringLiteral("读取单据号失败，数据库报告：") + error, MsgOk, kError);
    return numbers;
}

bool DocumentPage::showLatest()
{
    const std::optional<QStringList> numbers = readNumbers();
    if (!numbers)
        return false;
    // A page with no document at all says how to start one.
    m_grid->setPlaceholderText(
        numbers->isEmpty() ? u"还没有%1。点“添加”开第一张%1。"_qs.arg(m_rules.name) : QString());
    DocumentCursor latest;
    latest.reset(*numbers);
    if (load(latest.current())) // unread, the cursor stays with the document shown
        m_cursor = latest;
    return true;
}

void DocumentPage::reopenCursorAt(const QString& number)
{
    if (const std::optional<QStringList> numbers = readNumbers()) {
        m_cursor.reset(*numbers);
        m_cursor.moveTo(number);
    }
}

bool DocumentPage::load(const QString& number)
{
    // Read before the lines: should another clerk save in between, the version is older
    // than what is shown, and a change made here is refused rather than overwriting his.
    const QString version = storedDocumentVersion(m_connection, m_kind, number);
    QString error;
    const std::optional<LoadedDocument> document =
        loadDocument(m_connection, m_kind, number, &error);
    // Unread, the document shown before stays, marked: an empty grid would read as a
    // document without lines.
    setNotRefreshed(*m_tabs, pageIndex(), !document);
    if (!document) {
        msgBox(QStringLiteral("读取单据失败，数据库报告：") + error, MsgOk, kError);
        return false;
    }
    m_number->setText(number);
    m_shownNumber = number;
    m_shownVersion = version;
    emptyGrid();
    if (document->lines.isEmpty())
        return true; // the header stays as it was
    const DocumentHeader& h = document->header;
    m_date->setDate(h.date);
    m_maker->setText(h.maker);
    showFromStart(m_maker);
    setBoxText(m_party, h.party);
    setBoxText(m_category, h.category);
    if (m_auditor) {
        m_auditor->setText(document->auditor);
        showFromStart(m_auditor);
    }
    appendLines(document->lines);
    return true;
}

void DocumentPage::emptyGrid()
{
    m_grid->clearSpans();
    m_grid->setRowCount(1); // the heading row stays
    m_grid->fitColumnsToText();
}

void DocumentPage::appendLines(const QList<DocumentLine>& lines)
{
    for (const DocumentLine& line : lines) {
        const int row = m_grid->rowCount();
        m_grid->insertRowAt(row);
        for (int c = 0; c < line.cells.size(); ++c)
            m_grid->setCellText(row, c, line.cells.at(c));
    }
    m_grid->fitColumnsToText();
}

void DocumentPage::appendEmptyRow()
{
    m_grid->insertRowAt(m_grid->rowCount());
}

bool DocumentPage::hasTotalsRow() const
{
    const int last = m_grid->rowCount() - 1;
    return m_rules.priced && last >= 1 && m_grid->columnSpan(last, 0) > 1;
}

void DocumentPage::appendTotalsRow()
{
    if (!m_rules.priced || m_form.editing() || hasTotalsRow())
        return;
    const ReceiptTotals totals = showLineTotals(readDocument().lines, false);
    const int row = m_grid->rowCount();
    m_grid->insertRowAt(row);
    m_grid->mergeCells(row, 0, 1, ReceiptLineTotal + 1);
    m_grid->setCellText(row, 0, totals.text);
    m_grid->item(row, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void DocumentPage::showTypedLineTotals()
{
    // Read without committing the editor that reports the edit; no totals row while typing.
    QList<DocumentLine> lines;
    for (int r = 1; r < m_grid->rowCount(); ++r)
        lines.append(readLine(r));
    showLineTotals(lines, true);
}

ReceiptTotals DocumentPage::showLineTotals(const QList<DocumentLine>& lines, bool untilTyped)
{
    const ReceiptTotals totals = receiptTotals(lines);
    for (int i = 0; i < lines.size(); ++i) {
        const DocumentLine& line = lines.at(i);
        const bool typed = !line.cell(LineQuantity).trimmed().isEmpty() &&
                           !line.cell(ReceiptPrice).trimmed().isEmpty();
        m_grid->setCellText(line.row, ReceiptLineTotal,
                            typed || !untilTyped ? totals.lineTotals.at(i) : QString());
    }
    return totals;
}

void DocumentPage::commitEdits()
{
    m_grid->commitOpenEditor();
    if (!m_form.editing() && m_number->text() != m_shownNumber)
        m_number->setText(m_shownNumber);
}

Document DocumentPage::readDocument()
{
    commitEdits();
    return formAsItStands(false);
}

Document DocumentPage::formAsItStands(bool withTyping) const
{
    Document document;
    document.kind = m_kind;
    document.header.number = m_number->text();
    document.header.date = m_date->date();
    // As the grid's cells: "五金件 " typed would make another stock item's category.
    document.header.party = enteredText(m_party);
    document.header.category = enteredText(m_category);
    document.header.maker = m_maker->text();
    const int rows = m_grid->rowCount() - (hasTotalsRow() ? 1 : 0);
    for (int r = 1; r < rows; ++r)
        document.lines.append(readLine(r, withTyping));
    return document;
}

DocumentLine DocumentPage::readLine(int row, bool withTyping) const
{
    DocumentLine line;
    line.row = row;
    for (int c = 0; c < int(m_rules.storedColumns.size()); ++c)
        line.cells.append(withTyping ? m_grid->typedText(row, c) : m_grid->cellText(row, c));
    return line;
}

PrintedDocument DocumentPage::printedDocument()
{
    commitEdits();
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
    document.editing = m_form.editing();
    return document;
}

void DocumentPage::present(const DocumentOutcome& outcome)
{
    showOutcome(outcome, m_fields);
}

void DocumentPage::focusBanner()
{
    m_banner->setFocus();
}

bool DocumentPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_banner && event->type() == QEvent::KeyPress &&
        m_tabs->currentIndex() == pageIndex()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            // The first field that takes typing: a modified receipt has only its lines.
            for (QWidget* field :
                 std::initializer_list<QWidget*>{m_number, m_date, m_party, m_category, m_grid}) {
                if (field->isEnabled() && field->isVisible()) {
                    field->setFocus(Qt::TabFocusReason);
                    return true;
                }
            }
        }
    }
    // Return in a header field goes on to the next field, as Tab does and as Return does in
    // the grid: left in the field, the clerk's next text would be added to it ("华南" typed,
    // Return, "玻璃" made the supplier "华南玻璃"). A stored document's number box keeps
    // Return for showing the document typed.
    const bool headerField = watched == m_date || watched == m_party || watched == m_category ||
                             (watched == m_number && m_form.editing());
    if (headerField && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* box = qobject_cast<QComboBox*>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier) && !(box && box->view()->isVisible())) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mv
