#include "widgets/reportlist.h"

#include "widgets/fulltextdelegate.h"
#include "widgets/timingreport.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace mv {

ReportList::ReportList(QWidget* parent) : QTableView(parent), m_model(new ReportListModel(this))
{
    setModel(m_model);
    setItemDelegate(new FullTextDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Fixed row heights keep large lists cheap: no per-row size computation.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Compact rows, as a report list shows them: the text height and a small margin.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportList::headerClicked);
    // A reset (new columns, a refill) forgets the section sizes; the model keeps them.
    connect(m_model, &QAbstractItemModel::modelReset, this, &ReportList::applyColumnWidths);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &ReportList::applyColumnWidths);
    // For the wall-clock benchmark: when a refilled list is on screen.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (lcTiming().isDebugEnabled() && !objectName().isEmpty())
            reportWhenDrawn(
                this,
                QStringLiteral("%1 shows %2 rows").arg(objectName()).arg(m_model->rowCount()));
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) {
                if (!m_applyingWidths && m_model->columnWidth(column) != newSize)
                    m_model->setColumnWidth(column, newSize);
            });
}

void ReportList::setColumns(const QList<ReportColumn>& columns)
{
    m_model->setColumns(columns);
    applyColumnWidths();
}

void ReportList::applyColumnWidths()
{
    m_applyingWidths = true;
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (horizontalHeader()->sectionSize(c) != m_model->columnWidth(c))
            horizontalHeader()->resizeSection(c, m_model->columnWidth(c));
    m_applyingWidths = false;
}

int ReportList::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ReportList::setSelectedRow(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex cell = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    scrollTo(cell);
}

void ReportList::setStripePicture(const QPixmap& picture)
{
    m_stripes = picture;
    viewport()->update();
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowDoubleClicked(indexAt(event->position().toPoint()).row());
}

void ReportList::keyPressEvent(QKeyEvent* event)
{
    // Return opens the selected row as a double click does: the movement records of an item,
    // the document of a movement, without the mouse.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // A list that opens nothing leaves Return to its window (a dialog's default button).
    const bool opens = isSignalConnected(QMetaMethod::fromSignal(&ReportList::rowDoubleClicked));
    if (enter && opens && event->modifiers() == Qt::NoModifier && selectedRow() >= 0) {
        emit rowDoubleClicked(selectedRow());
        return;
    }
    // Ctrl+C copies the selected row, its shown cells separated by tabs, as a spreadsheet
    // takes a row in (the view alone would copy the one cell under the cursor).
    if (event->matches(QKeySequence::Copy) && selectedRow() >= 0) {
        QStringList cells;
        for (int column = 0; column < m_model->columnCount(); ++column)
            if (!isColumnHidden(column) && columnWidth(column) > 0)
                cells.append(m_model->text(selectedRow(), column));
        QGuiApplication::clipboard()->setText(cells.join(u'\t'));
        return;
    }
    QTableView::keyPressEvent(event);
}

void ReportList::contextMenuEvent(QContextMenuEvent* event)
{
    const int row = indexAt(event->pos()).row();
    // A right click on a row makes it the selected one, as the pop-up menus act on it.
    if (row >= 0)
        setSelectedRow(row);
    emit rightClicked(row, event->globalPos());
    event->accept();
}

void ReportList::paintEvent(QPaintEvent* event)
{
    if (!m_stripes.isNull()) {
        // The stripes scroll with the rows: the tile starts at the first row's top.
        QPainter painter(viewport());
        painter.setBrushOrigin(0, -verticalOffset());
        painter.fillRect(event->rect(), QBrush(m_stripes));
    }
    QTableView::paintEvent(event);
    if (m_model->rowCount() == 0 && !m_placeholder.isEmpty()) {
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        const QRect room = viewport()->rect().adjusted(20, 20, -20, -20);
        painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
    }
}

void ReportList::setPlaceholderText(const QString& text)
{
    m_placeholder = text;
    viewport()->update();
}

} // namespace mv
