#pragma once
// Fills the unit of a document line from the item's stored lines once its material name and
// model are typed, so that a line typed without a unit stays the stock item it names instead
// of becoming another row of the stock list. A unit the clerk typed is never replaced; one
// filled here follows the name and model while they are corrected.

#include <QObject>

namespace mv {

class Connection;
class DocumentGrid;

class LineUnitFill : public QObject
{
    Q_OBJECT
public:
    // The connection must outlive this object, which the grid owns.
    LineUnitFill(DocumentGrid* grid, Connection& connection);

private:
    void cellEdited(int row, int column);

    DocumentGrid* m_grid;
    Connection& m_connection;
};

} // namespace mv
