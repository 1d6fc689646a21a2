#pragma once
// The rows of a report list: column titles/widths/alignments, rows of cell texts, an
// integer datum per row and an optional check state. Lists are refilled wholesale, so
// bulk operations reset the model once instead of inserting row by row.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

struct ReportColumn
{
    QString title;
    int width = 100;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

struct ReportRow
{
    QStringList cells; // may be shorter than the column count: missing cells are empty
    qint64 datum = 0;
    Qt::CheckState check = Qt::Unchecked;
};

class ReportListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ReportListModel(QObject* parent = nullptr);

    // Columns
    void setColumns(const QList<ReportColumn>& columns);
    const QList<ReportColumn>& columns() const { return m_columns; }
    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString& title);
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Rows
    int rowCount() const { return int(m_rows.size()); }
    void clearRows();
    int appendRow(const QStringList& cells, qint64 datum = 0); // returns the new row index
    void setRows(QList<ReportRow> rows);                       // replaces every row at once
    void removeRowAt(int row);
    const ReportRow& rowAt(int row) const { return m_rows.at(row); }

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    qint64 datum(int row) const;
    void setDatum(int row, qint64 datum);

    bool checkable() const { return m_checkable; }
    void setCheckable(bool checkable);
    Qt::CheckState checkState(int row) const;
    void setCheckState(int row, Qt::CheckState state);

    // Every row's cell texts, in row order (a snapshot for sorting and export).
    QList<QStringList> cellTexts() const;
    // Rewrites the cell texts row by row; datum, check state and the view's selection stay
    // with the row position. The list must have exactly rowCount() entries.
    void setCellTexts(const QList<QStringList>& texts);
    // Moves the rows: row i becomes the row order[i] was, its texts, datum and check state
    // together (a sorted list deletes or ticks the record a row shows); the view's selection
    // stays with the row position, and the view hears of it once. order must name every row
    // exactly once, otherwise nothing changes and false is returned.
    bool reorderRows(const QList<int>& order);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<ReportColumn> m_columns;
    QList<ReportRow> m_rows;
    bool m_checkable = false;
};

} // namespace mv
