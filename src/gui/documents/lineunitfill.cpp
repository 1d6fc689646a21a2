#include "gui/documents/lineunitfill.h"

#include "documents/document.h"
#include "stock/itemunit.h"
#include "widgets/documentgrid.h"

namespace mv {

namespace {

// The unit a cell was given here, kept on the cell: while the cell still shows it, the clerk
// has not typed one of his own.
constexpr int kFilledUnitRole = Qt::UserRole + 1;

} // namespace

LineUnitFill::LineUnitFill(DocumentGrid* grid, Connection& connection)
    : QObject(grid), m_grid(grid), m_connection(connection)
{
    connect(grid, &DocumentGrid::cellEdited, this, &LineUnitFill::cellEdited);
}

void LineUnitFill::cellEdited(int row, int column)
{
    if (m_grid->isReadOnly() || (column != LineName && column != LineModel))
        return;
    const QTableWidgetItem* cell = m_grid->item(row, LineUnit);
    const QString shown = cell ? cell->text() : QString();
    const QString filled = cell ? cell->data(kFilledUnitRole).toString() : QString();
    if (shown != filled)
        return; // the clerk's own unit
    const QString name = m_grid->cellText(row, LineName);
    const QString unit = name.trimmed().isEmpty()
                             ? QString()
                             : soleItemUnit(m_connection, name, m_grid->cellText(row, LineModel));
    if (unit == shown)
        return;
    m_grid->setCellText(row, LineUnit, unit);
    m_grid->item(row, LineUnit)->setData(kFilledUnitRole, unit);
}

} // namespace mv
