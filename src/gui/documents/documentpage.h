#pragma once
// The receipt page (page 3) and the requisition page (page 4) of the main window: moves
// values between the header controls, the line grid and the document logic of
// src/documents. The form mode (read-only, add, modify) is the page's FormState; the
// auxiliary toolbar and the controls show it.

#include "documents/document.h"
#include "documents/documentcursor.h"
#include "documents/documentload.h"
#include "documents/documentprintfill.h"
#include "documents/formstate.h"
#include "documents/receipttotals.h"
#include "gui/main/savingpage.h"
#include "stock/stockfigures.h"
#include "widgets/showoutcome.h"

#include <QList>
#include <QObject>
#include <QTimer>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace mv {

class Connection;
class DraftFile;
struct DocumentDraft;
struct DocumentRules;
class DocumentGrid;
class EditBox;
class StateToolBar;
class TabControl;

class DocumentPage : public QObject, public SavingPage
{
    Q_OBJECT
public:
    // Finds its controls by name among mainWindow's children; the connection must outlive it.
    DocumentPage(QWidget* mainWindow, Connection& connection, DocumentKind kind);

    DocumentKind kind() const { return m_kind; }
    int pageIndex() const { return m_page; }
    FormMode mode() const { return m_form.mode(); }

    // The page entered from the main toolbar (after its button set): read-only, latest
    // document, totals row. A form with unsaved changes is given up only when the clerk says so.
    void enter();
    // The page shown again by a click on its tab (after its button set): as it was left, a
    // form being edited in its own mode, without a question; the latest document when none
    // is shown yet.
    void reshow();
    // An auxiliary toolbar button pressed while this page is shown.
    void onAuxButton(int index);
    // 导入 > 入库 / 领料: one more line for the stock row's item, starting a new document as
    // 添加 does when none is being edited.
    void addStockRow(const StockItem& row);
    // 保存: saves the document being added or modified.
    void save() override;
    // A line of the movement list opened: this page with that document and its 返回 button.
    void openDocument(const QString& number);
    // The page as it stands (stored document or one being edited), for printing its form.
    PrintedDocument printedDocument();
    // A document is being added or modified and differs from where that began.
    bool hasUnsavedChanges();
    // Gives up a document being edited without asking (its data was replaced, or the clerk
    // agreed to leave it).
    void abandonEdits();
    // The data were replaced (a restore): a form being edited is given up, and whatever the
    // page shows goes; shown next, it shows the latest stored document.
    void dataReplaced();
    // A document left unsaved (new, or a modification) when the program last ended for this
    // user (it crashed, was killed, the power went): asks whether to take it up again, and
    // does so on this page or discards it.
    void offerDraft();

signals:
    // A document was saved, modified or deleted: the stock figures changed.
    void stockChanged();

protected:
    // Tab from the banner, where the page puts the keyboard, leads into the document (its
    // number first), not to the period pickers the stock page left beside the banner; Return
    // in a header field goes on to the next one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void newDocument();
    void saveNew(const Document& document);
    void saveModified(const Document& document);
    void modify();
    void remove();
    // After a deletion, or a new document given up: the page shows the latest stored one.
    void showLatestAfterRemoval();
    void step(bool forward);
    void audit();
    void loadTypedNumber();

    // Asks "当前单据已修改，是否放弃修改？" when the form has unsaved changes; true when the
    // document may be left.
    bool mayLeaveForm();
    // Back to read-only after a save or with the clerk's word: the draft goes.
    void endForm();
    DraftFile draftFile() const;
    // Writes the document being added or modified to its draft file when it changed (or
    // removes the file when nothing is changed).
    void keepDraft();
    // A modification's draft: its document loaded and in modify mode; false (said why) when
    // the document changed since, or the clerk declined.
    bool resumeModification(const DocumentDraft& draft);
    // Shows the form mode: grid, header controls, row buttons and (while the page is shown)
    // the toolbar's 添加 / 保存 / 修改.
    void showMode();
    // Empties the grid, adds one empty row, takes the next free number; false when the
    // numbers could not be read (said so).
    bool prepareBlankForm();
    void fillDropDownLists();
    // The auxiliary toolbar shows the document buttons, as main toolbar button 0 or 1 does.
    void showDocumentButtons();

    // Shows the latest stored document; false (said so) when the numbers could not be read.
    bool showLatest();
    // Shows the stored document. When it cannot be read, says so, leaves the page on the
    // document it showed (marked not refreshed) and returns false.
    bool load(const QString& number);
    void emptyGrid();
    // The lines after the grid's last row, the columns widened to their texts.
    void appendLines(const QList<DocumentLine>& lines);
    void appendEmptyRow();
    void appendTotalsRow();
    void showTypedLineTotals();
    // Writes each line's total into its row (left empty until its quantity and price are both
    // typed, when untilTyped); returns the totals.
    ReceiptTotals showLineTotals(const QList<DocumentLine>& lines, bool untilTyped);
    bool hasTotalsRow() const;
    void reopenCursorAt(const QString& number);
    // The stored numbers, or nullopt after telling the clerk they could not be read.
    std::optional<QStringList> readNumbers();

    // Every reader of the form calls this first: a cell editor still open is written into
    // the grid, and in read-only mode a number typed without Enter gives way to the number
    // of the document shown.
    void commitEdits();
    Document readDocument();
    // Without writing an open cell editor first; its text read as typed so far withTyping.
    Document formAsItStands(bool withTyping) const;
    // The stored columns of one grid row, as it stands.
    DocumentLine readLine(int row, bool withTyping = false) const;
    // Shows the outcome's message (when it has one) and moves the focus to its field.
    void present(const DocumentOutcome& outcome);
    void focusBanner();

    Connection& m_connection;
    DocumentKind m_kind;
    const DocumentRules& m_rules;
    int m_page = 0; // of the main window's tab control
    QWidget* m_window = nullptr;
    DocumentCursor m_cursor;
    FormState m_form;
    QString m_shownNumber;  // the document on the form (being added: its new number)
    QString m_shownVersion; // of the document shown, as stored when it was loaded

    StateToolBar* m_auxBar = nullptr;
    TabControl* m_tabs = nullptr;
    QWidget* m_banner = nullptr;
    QWidget* m_searchButton = nullptr;
    EditBox* m_number = nullptr;
    QDateEdit* m_date = nullptr;
    QComboBox* m_party = nullptr;
    QComboBox* m_category = nullptr;
    QLineEdit* m_maker = nullptr;
    QLineEdit* m_auditor = nullptr; // requisitions only
    DocumentGrid* m_grid = nullptr;
    QPushButton* m_plus = nullptr;
    QPushButton* m_minus = nullptr;
    QPushButton* m_back = nullptr;
    FieldControls<DocumentField> m_fields; // the control of each field a refusal names
    QTimer m_draftTimer;
    Document m_draft; // as last kept
};

} // namespace mv
