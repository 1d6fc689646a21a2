#include "widgets/documentgrid.h"

#include "widgets/griddelegate.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>

namespace mv {

namespace {

const QColor kHeadingShade{230, 230, 230};

// Spreadsheets copy a number as it is shown: its digits grouped by commas ("1,200"), a price
// after its currency sign ("￥12.50"). A number cell takes the number, which read as typed
// would stop at the first comma or be no number at all.
QString shownNumber(const QString& text)
{
    static const QRegularExpression shown(
        u"^[¥￥]?\\s*([+-]?(\\d{1,3}(,\\d{3})+|\\d+)(\\.\\d*)?)$"_qs);
    const QRegularExpressionMatch match = shown.match(text);
    return match.hasMatch() ? match.captured(1).remove(u',') : text;
}

} // namespace

DocumentGrid::DocumentGrid(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new GridDelegate(this));
    verticalHeader()->hide();
    // Row 0 carries the headings for the program; on screen they stand in the header, which
    // stays in place while a long document's lines scroll under it.
    QHeaderView* headings = horizontalHeader();
    headings->setSectionsClickable(false);
    headings->setHighlightSections(false);
    QFont bold = headings->font();
    bold.setBold(true);
    headings->setFont(bold);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setReadOnly(false);

    connect(model(), &QAbstractItemModel::columnsInserted, this, &DocumentGrid::styleHeadingRow);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int) {
                if (first == 0)
                    styleHeadingRow();
            });
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->row() == 0)
            showHeading(item->column());
        else if (!m_filling)
            emit cellEdited(item->row(), item->column());
    });
}

QString DocumentGrid::cellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

QString DocumentGrid::typedText(int row, int column) const
{
    const QModelIndex current = currentIndex();
    if (state() == QAbstractItemView::EditingState && current.row() == row &&
        current.column() == column)
        if (const QWidget* editor = indexWidget(current)) {
            const QMetaProperty typed = editor->metaObject()->userProperty();
            if (typed.isValid())
                return typed.read(editor).toString();
        }
    return cellText(row, column);
}

void DocumentGrid::setCellText(int row, int column, const QString& text)
{
    if (row < 0 || column < 0)
        return;
    if (row >= rowCount())
        setRowCount(row + 1);
    if (column >= columnCount())
        setColumnCount(column + 1);
    m_filling = true;
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem; // the table takes ownership
        setItem(row, column, cell);
    }
    cell->setText(text);
    if (row == 0)
        styleHeadingCell(cell);
    m_filling = false;
}

DocumentGrid::CellKind DocumentGrid::columnKind(int column) const
{
    return m_kinds.value(column, CellKind::Text);
}

void DocumentGrid::setColumnKind(int column, CellKind kind)
{
    m_kinds.insert(column, kind);
}

QStringList DocumentGrid::dropDownItems(int column) const
{
    return m_dropDownItems.value(column);
}

void DocumentGrid::setDropDownItems(int column, const QStringList& items)
{
    m_dropDownItems.insert(column, items);
    setColumnKind(column, CellKind::DropDown);
}

void DocumentGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    // An open editor is dropped: the program has just made the form read-only.
    if (readOnly && state() == QAbstractItemView::EditingState)
        if (QWidget* editor = viewport()->focusWidget(); editor && editor != viewport())
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    // No editing on a click of the selected cell: Qt opens that editor only after the
    // double-click time, and ignores the keys typed meanwhile, so a clerk who clicked the cell
    // he had just typed and typed its correction lost it. Typing opens the editor at once.
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}

void DocumentGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DocumentGrid::insertRowAt(int row)
{
    // The heading row stays first.
    insertRow(std::clamp(row, std::min(1, rowCount()), rowCount()));
}

void DocumentGrid::deleteRowAt(int row)
{
    if (row >= 1 && row < rowCount())
        removeRow(row);
}

QModelIndex DocumentGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (m_readOnly || !current.isValid() || current.row() == 0)
        return QTableWidget::moveCursor(action, modifiers);
    if (action == MoveNext && current.row() == rowCount() - 1 &&
        current.column() == columnCount() - 1) {
        insertRowAt(rowCount());
        return model()->index(rowCount() - 1, 0);
    }
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    // Back from the first cell Qt would wrap round past the hidden headings to the last line.
    if (action == MovePrevious && next.row() > current.row())
        return current;
    if (!next.isValid() || next.row() > 0)
        return next;
    return action == MovePrevious ? current : model()->index(1, next.column());
}

void DocumentGrid::moveToNextCell()
{
    if (const QModelIndex next = moveCursor(MoveNext, Qt::NoModifier); next.isValid())
        setCurrentIndex(next);
}

void DocumentGrid::focusInEvent(QFocusEvent* event)
{
    // Only for Tab: a click makes its own cell current, and a cell made current before the
    // press would count as clicked while selected and open a delayed editor over the typing.
    const bool byTab =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (byTab && !m_readOnly && rowCount() > 1 && currentRow() < 1)
        setCurrentCell(1, 0);
    QTableWidget::focusInEvent(event);
}

void DocumentGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste) && !m_readOnly) {
        pasteLines(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    // Return on a cell goes on to the next one, as it does after typing into it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & ~Qt::KeypadModifier) && !m_readOnly &&
        state() != QAbstractItemView::EditingState) {
        moveToNextCell();
        event->accept();
        return;
    }
    // Delete empties the cell the cursor is on, as in a spreadsheet (the open editor takes
    // its own keys); the headings and the computed total are left alone.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !m_readOnly) {
        const int row = currentRow();
        const int column = currentColumn();
        if (QTableWidgetItem* cell = item(row, column);
            cell && row >= 1 && columnKind(column) != CellKind::Computed)
            cell->setText(QString());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void DocumentGrid::pasteLines(const QString& text)
{
    QStringList lines = QString(text).replace(u"\r\n"_qs, u"\n"_qs).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    const int firstRow = std::max(1, currentRow());
    const int firstColumn = std::max(0, currentColumn());
    for (int i = 0; i < lines.size(); ++i) {
        const int row = firstRow + i;
        if (row >= rowCount())
            insertRowAt(rowCount());
        const QStringList cells = lines.at(i).split(u'\t');
        for (int j = 0; j < cells.size() && firstColumn + j < columnCount(); ++j) {
            const int column = firstColumn + j;
            // Spaces around a cell are dropped as when it is typed; an empty cell leaves the
            // grid's as it is, such as a unit filled in once the name and model were pasted.
            QString cellText = cells.at(j).trimmed();
            if (columnKind(column) == CellKind::Numeric)
                cellText = shownNumber(cellText);
            if (columnKind(column) == CellKind::Computed || cellText.isEmpty())
                continue;
            if (QTableWidgetItem* cell = item(row, column))
                cell->setText(cellText);
            else
                setItem(row, column, new QTableWidgetItem(cellText)); // the table owns it
        }
    }
    if (!lines.isEmpty())
        setCurrentCell(firstRow + int(lines.size()) - 1, firstColumn);
    fitColumnsToText();
}

void DocumentGrid::setPlaceholderText(const QString& text)
{
    m_placeholder = text;
    viewport()->update();
}

void DocumentGrid::paintEvent(QPaintEvent* event)
{
    QTableWidget::paintEvent(event);
    if (m_placeholder.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int below =
        rowCount() > 0 ? rowViewportPosition(rowCount() - 1) + rowHeight(rowCount() - 1) : 0;
    const QRect room = viewport()->rect().adjusted(20, below + 20, -20, -20);
    painter.drawText(room, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_placeholder);
}

void DocumentGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    fitColumnsToText(); // a wider grid leaves room for more of a long name
}

void DocumentGrid::fitColumnsToText()
{
    const int standard = horizontalHeader()->defaultSectionSize();
    // A cell's text with the room the delegate keeps around it.
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 6;
    QList<int> wanted(columnCount(), standard);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (const QTableWidgetItem* cell = item(r, c);
                cell && columnSpan(r, c) == 1 && !cell->text().isEmpty())
                wanted[c] =
                    std::max(wanted.at(c),
                             QFontMetrics(cell->font()).horizontalAdvance(cell->text()) + padding);
    int room = maximumViewportSize().width() - standard * int(columnCount());
    for (int c = 0; c < columnCount(); ++c) {
        const int extra = std::clamp(wanted.at(c) - standard, 0, std::max(0, room));
        room -= extra;
        setColumnWidth(c, standard + extra);
    }
}

void DocumentGrid::mergeCells(int row, int column, int rowSpan, int columnSpan)
{
    if (row < 0 || column < 0 || rowSpan < 1 || columnSpan < 1)
        return;
    setSpan(row, column, rowSpan, columnSpan);
}

void DocumentGrid::styleHeadingCell(QTableWidgetItem* cell)
{
    cell->setFlags(Qt::ItemIsEnabled);
    QFont bold = cell->font();
    bold.setBold(true);
    cell->setFont(bold);
    cell->setBackground(kHeadingShade);
    cell->setTextAlignment(Qt::AlignCenter);
}

void DocumentGrid::styleHeadingRow()
{
    if (rowCount() == 0)
        return;
    const bool filling = m_filling;
    m_filling = true;
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* cell = item(0, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            setItem(0, c, cell);
        }
        styleHeadingCell(cell);
        showHeading(c);
    }
    setRowHidden(0, true); // shown in the header instead
    m_filling = filling;
}

void DocumentGrid::showHeading(int column)
{
    QTableWidgetItem* heading = horizontalHeaderItem(column);
    if (!heading) {
        heading = new QTableWidgetItem; // the table takes ownership
        setHorizontalHeaderItem(column, heading);
    }
    heading->setText(cellText(0, column));
}

} // namespace mv
