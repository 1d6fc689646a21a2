#pragma once
// The two document pages of the main window and their ties to the rest of it: the main
// toolbar entering a page, the auxiliary buttons on pages 3 and 4, a line asked for from a
// stock row (导入 > 入库 / 领料), a double click on the movement list, and the stock list
// refresh after a change.

#include "documents/document.h"
#include "stock/stockfigures.h"

#include <QObject>

class QWidget;

namespace mv {

class Connection;
class DocumentPage;
class ReportList;

class DocumentPages : public QObject
{
    Q_OBJECT
public:
    // Finds the lists and menu items by name among mainWindow's children.
    DocumentPages(QWidget* mainWindow, Connection& connection);

    DocumentPage* receipt() const { return m_receipt; }
    DocumentPage* requisition() const { return m_requisition; }
    // The page shown by that index, nullptr for the other pages.
    DocumentPage* onPage(int page) const;
    // A receipt or requisition is being added or modified and has unsaved changes.
    bool hasUnsavedDocument() const;
    // Gives up both forms without asking (the data they belonged to was replaced, or the
    // clerk agreed to leave them).
    void abandonEdits();
    // The data were replaced: both pages give up their forms and show the latest stored
    // documents when shown next.
    void dataReplaced();
    // Offers back the documents left unsaved when the program last ended for this user.
    void offerDrafts();

public slots:
    // One more line for the item on the page of that kind.
    void addStockRow(DocumentKind kind, const StockItem& item);

signals:
    void stockChanged();

private:
    void openMovementRow(int row);

    ReportList* m_movementList = nullptr;
    DocumentPage* m_receipt = nullptr;
    DocumentPage* m_requisition = nullptr;
};

} // namespace mv
