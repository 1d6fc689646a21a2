#pragma once
// The print table: a grid of cell texts with per-cell alignment, style, colours and fonts,
// row heights, column widths, merged rectangles, border lines, fixed rows and the page
// settings record. Rows and columns are numbered from 1. Lengths and font sizes are in
// 0.1 mm (A4 portrait is 2100 x 2970). Colours are COLORREF values (red in the low byte).

#include "print/pagesettings.h"

#include <QList>
#include <QRect>
#include <QString>

namespace mv {

// Edge mask of border operations.
enum BorderEdge : int
{
    EdgeLeft = 0x1,
    EdgeTop = 0x2,
    EdgeRight = 0x4,
    EdgeBottom = 0x8,
    EdgeInnerHorizontal = 0x10,
    EdgeInnerVertical = 0x20,
    EdgeAll = 0x3F,
};

// Alignment codes: 1 top-left, 4 left, 5 centre, 6 right, 7 left (all three vertically
// centred). Other codes draw like 4.
inline constexpr int kAlignTopLeft = 1;
inline constexpr int kAlignLeft = 4;
inline constexpr int kAlignCentre = 5;
inline constexpr int kAlignRight = 6;
inline constexpr int kAlignLeftMiddle = 7;

// Style flag: bold.
inline constexpr int kStyleBold = 1;

// No background colour.
inline constexpr int kNoColour = -1;

struct PrintCell
{
    QString text;
    int align = kAlignLeft;
    int style = 0;
    int textColour = 0;         // COLORREF
    int background = kNoColour; // COLORREF or kNoColour
    QString fontName;           // empty: the table's default font
    int fontSize = 0;           // 0: the table's default size
    int edges = 0;     // lines on this cell's own sides: EdgeLeft|EdgeTop|EdgeRight|EdgeBottom
    bool wrap = false; // text broken into several lines inside the cell
};

class PrintTable
{
public:
    PrintTable() = default;
    PrintTable(int rows, int columns);

    int rowCount() const { return int(m_cells.size()); }
    int columnCount() const { return m_columns; }

    // Inserts count rows before row (row = rowCount()+1 appends). Out of range: nothing.
    void insertRows(int row, int count);
    void appendRows(int count);
    // Inserts count columns before column (column = columnCount()+1 appends).
    void insertColumns(int column, int count);
    void deleteColumns(int column, int count);

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    const PrintCell* cell(int row, int column) const; // nullptr outside the table

    // Rectangle setters: rows r1..r2 and columns c1..c2, clipped to the table.
    void setAlignment(int r1, int c1, int r2, int c2, int code);
    void setStyle(int r1, int c1, int r2, int c2, int flags);
    void setTextColour(int r1, int c1, int r2, int c2, int colour);
    void setBackground(int r1, int c1, int r2, int c2, int colour);
    void setFontName(int r1, int c1, int r2, int c2, const QString& name);
    void setFontSize(int r1, int c1, int r2, int c2, int size);
    void setWordWrap(int r1, int c1, int r2, int c2, bool on);
    // Draws (on = true) or clears the lines of the edge mask; a line between two cells is
    // kept on both of them.
    void setBorders(int r1, int c1, int r2, int c2, int mask, bool on);

    int rowHeight(int row) const;
    void setRowHeight(int row, int height);
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int tableWidth() const;

    // Merged rectangles (QRect with x = column, y = row, 1-based). A new merge replaces the
    // merges it overlaps.
    void merge(int r1, int c1, int r2, int c2);
    const QList<QRect>& merges() const { return m_merges; }
    // The merge holding the cell, or a 1x1 rectangle of the cell itself.
    QRect spanAt(int row, int column) const;

    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows) { m_fixedRows = rows; }

    // A page ends after this row when printing.
    bool pageBreakAfter(int row) const;
    void setPageBreakAfter(int row, bool on);

    QString defaultFontName() const { return m_defaultFont; }
    void setDefaultFontName(const QString& name) { m_defaultFont = name; }
    int defaultFontSize() const { return m_defaultFontSize; }
    void setDefaultFontSize(int size) { m_defaultFontSize = size; }
    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int height) { m_defaultRowHeight = height; }
    int defaultColumnWidth() const { return m_defaultColumnWidth; }
    void setDefaultColumnWidth(int width) { m_defaultColumnWidth = width; }

    PageSettings pageSettings() const { return m_page; }
    void setPageSettings(const PageSettings& page) { m_page = page; }
    // The sheet of the record's paper and orientation, in 0.1 mm.
    int sheetWidth() const;
    int sheetHeight() const;

private:
    bool valid(int row, int column) const;
    template <class F> void forRect(int r1, int c1, int r2, int c2, F&& apply);
    void setEdge(int row, int column, int edge, bool on);

    struct Row
    {
        QList<PrintCell> cells;
        int height = 0; // 0: default
        bool pageBreak = false;
    };
    QList<Row> m_cells;
    QList<int> m_widths; // 0: default
    int m_columns = 0;
    QList<QRect> m_merges;
    int m_fixedRows = 0;
    QString m_defaultFont = QStringLiteral("宋体");
    int m_defaultFontSize = 30;
    int m_defaultRowHeight = 60;
    int m_defaultColumnWidth = 250;
    PageSettings m_page;
};

// Qt's colour of a COLORREF value, and back.
unsigned colourRefToRgb(int colourRef);
int rgbToColourRef(unsigned rgb);

} // namespace mv
