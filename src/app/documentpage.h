#pragma once
// The receipt page (page 3) and the requisition page (page 4) of the main window: moves
// values between the header controls, the line grid and the document logic of
// src/documents, and keeps the form mode in the auxiliary toolbar's button states
// (添加 disabled: add mode; 修改 disabled: modify mode; otherwise read-only).

#include "documents/document.h"
#include "documents/documentcursor.h"
#include "documents/documentload.h"
#include "documents/documentprintfill.h"

#include <QList>
#include <QObject>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace mv {

class Connection;
class DocumentGrid;
class EditBox;
class StateToolBar;
class TabControl;

// The stock row that 导入 > 入库 / 领料 turns into a new line.
struct StockRowValues
{
    QString category;
    QString name;
    QString model;
    QString unit;
};

class DocumentPage : public QObject
{
    Q_OBJECT
public:
    // Finds its controls by name among mainWindow's children; the connection must outlive it.
    DocumentPage(QWidget* mainWindow, Connection& connection, DocumentKind kind);

    DocumentKind kind() const { return m_kind; }
    int pageIndex() const;

    // The page entered from the main toolbar (after its button set): read-only, latest
    // document, totals row.
    void enter();
    // An auxiliary toolbar button pressed while this page is shown.
    void onAuxButton(int index);
    // 导入 > 入库 / 领料: one more line from the stock row, starting a new document when none
    // is being edited.
    void addStockRow(const StockRowValues& row);
    // A line of the movement list opened: this page with that document and its 返回 button.
    void openDocument(const QString& number);
    // The page as it stands (stored document or one being edited), for printing its form.
    PrintedDocument printedDocument() const;

signals:
    // A document was saved, modified or deleted: the stock figures changed.
    void stockChanged();

private:
    void newDocument();
    void save();
    void saveNew();
    void saveModified();
    void modify();
    void remove();
    void step(bool forward);
    void audit();
    void loadTypedNumber();

    bool addMode() const;
    bool modifyMode() const;
    // Grid editable, header controls enabled and row buttons shown (or the reverse).
    void setEditable(bool editable);
    void setHeaderEnabled(bool enabled);
    void setRowButtonsVisible(bool visible);
    // Empties the grid, adds one empty row, takes the number after the shown one.
    void prepareBlankForm();
    void fillDropDownLists();
    // The auxiliary toolbar shows the document buttons, as main toolbar button 0 or 1 does.
    void showDocumentButtons();

    void showLatest();
    void load(const QString& number);
    void emptyGrid();
    void appendEmptyRow();
    void appendTotalsRow();
    bool hasTotalsRow() const;
    void reopenCursorAt(const QString& number);

    Document readDocument() const;
    // Shows the outcome's message (when it has one) and moves the focus it names.
    void present(const Outcome& outcome);
    void focusBanner();

    Connection& m_connection;
    DocumentKind m_kind;
    QWidget* m_window = nullptr;
    DocumentCursor m_cursor;
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
};

} // namespace mv
