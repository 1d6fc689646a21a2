#pragma once
// The document line grid: row 0 holds the column headings as an ordinary, non-editable row,
// hidden and shown in the grid's header instead; data rows start at row 1. Each column has a cell
// kind (text, number, drop-down list).

#include <QHash>
#include <QStringList>
#include <QTableWidget>

namespace mv {

class DocumentGrid : public QTableWidget
{
    Q_OBJECT
public:
    enum class CellKind
    {
        Text,
        Numeric,
        DropDown,
        Computed // shown by the program, never typed into
    };

    explicit DocumentGrid(QWidget* parent = nullptr);

    // Grows the grid as needed; row 0 stays the heading row.
    QString cellText(int row, int column) const;
    // The cell's text, or what its open editor holds so far (nothing is written or closed).
    QString typedText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    CellKind columnKind(int column) const;
    void setColumnKind(int column, CellKind kind);
    QStringList dropDownItems(int column) const;
    void setDropDownItems(int column, const QStringList& items);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The cursor on the next cell, as Tab moves it (a new line past the last cell), with no
    // editor opened there: what is typed next replaces the cell's text.
    void moveToNextCell();

    // Writes the text of a cell editor still open into its cell and closes the editor. A
    // toolbar button takes no focus when clicked, so the editor would otherwise stay open with
    // its text while the grid is read.
    void commitOpenEditor();

    // Inserts an empty row before row (row == rowCount() appends); removes a row.
    void insertRowAt(int row);
    void deleteRowAt(int row);
    void mergeCells(int row, int column, int rowSpan, int columnSpan);

    // A hint drawn under the rows while it is set (what to do on a page with no document).
    void setPlaceholderText(const QString& text);
    QString placeholderText() const { return m_placeholder; }

    // Widens the columns whose texts are longer than the standard width (a long product name
    // or model), as far as the grid's width leaves room, the columns on the left first;
    // the others keep the standard width. Merged cells play no part.
    void fitColumnsToText();

    // Lines copied from a spreadsheet (cells split by tabs) written from the current cell on,
    // as if typed: each cell is an edit, lines are added as needed; empty cells, computed
    // cells and cells past the last column leave the grid as it is.
    void pasteLines(const QString& text);

signals:
    void cellEdited(int row, int column);

protected:
    // Tab (or Return) past the last cell of the last line starts a new line, as "+" does; the
    // cursor never moves into the heading row, where typed text would go nowhere.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // The focus coming to an editable grid by Tab lands on the first line.
    void focusInEvent(QFocusEvent* event) override;
    // Ctrl+V on an editable grid pastes lines (an open editor pastes into itself); Return
    // goes on to the next cell.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // No search by typing: a key typed where nothing can be typed (a read-only grid, a line
    // total) would move the cursor to some other cell starting with it.
    void keyboardSearch(const QString&) override {}

private:
    void styleHeadingRow();
    static void styleHeadingCell(QTableWidgetItem* cell);
    void showHeading(int column); // the header shows row 0's text

    QHash<int, CellKind> m_kinds;
    QHash<int, QStringList> m_dropDownItems;
    bool m_readOnly = false;
    bool m_filling = false; // programmatic writes do not count as edits
    QString m_placeholder;
};

} // namespace mv
