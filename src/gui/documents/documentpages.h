#pragma once
// The two document pages of the main window and their ties to the rest of it: the main
// toolbar entering a page, the auxiliary buttons on pages 3 and 4, 导入 > 入库 / 领料 on the
// stock list, a double click on the movement list, and the stock list refresh after a change.

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
    // Gives up both forms without asking (the data they belonged to was replaced).
    void abandonEdits();

signals:
    void stockChanged();

private:
    void addSelectedStockRow(DocumentPage* page);
    void openMovementRow(int row);

    ReportList* m_stockList = nullptr;
    ReportList* m_movementList = nullptr;
    DocumentPage* m_receipt = nullptr;
    DocumentPage* m_requisition = nullptr;
};

} // namespace mv
