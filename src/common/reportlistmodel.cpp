#include "common/reportlistmodel.h"

#include <vector>

namespace mv {

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportListModel::setColumns(const QList<ReportColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

QString ReportListModel::columnTitle(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).title : QString();
}

void ReportListModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int ReportListModel::columnWidth(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).width : 0;
}

void ReportListModel::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].width = width;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ReportListModel::clearRows()
{
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int ReportListModel::appendRow(const QStringList& cells, qint64 datum)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(ReportRow{cells, datum, Qt::Unchecked});
    endInsertRows();
    return row;
}

void ReportListModel::setRows(QList<ReportRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ReportListModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

QString ReportListModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const QStringList& cells = m_rows.at(row).cells;
    return column >= 0 && column < cells.size() ? cells.at(column) : QString();
}

void ReportListModel::setText(int row, int column, const QString& text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return;
    QStringList& cells = m_rows[row].cells;
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

qint64 ReportListModel::datum(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).datum : 0;
}

void ReportListModel::setDatum(int row, qint64 datum)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].datum = datum;
}

void ReportListModel::setCheckable(bool checkable)
{
    if (m_checkable == checkable)
        return;
    beginResetModel();
    m_checkable = checkable;
    endResetModel();
}

Qt::CheckState ReportListModel::checkState(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).check : Qt::Unchecked;
}

void ReportListModel::setCheckState(int row, Qt::CheckState state)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].check = state;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

QList<QStringList> ReportListModel::cellTexts() const
{
    QList<QStringList> texts;
    texts.reserve(m_rows.size());
    for (const ReportRow& row : m_rows)
        texts.append(row.cells);
    return texts;
}

void ReportListModel::setCellTexts(const QList<QStringList>& texts)
{
    Q_ASSERT(texts.size() == m_rows.size());
    const qsizetype n = std::min(texts.size(), m_rows.size());
    for (qsizetype r = 0; r < n; ++r)
        m_rows[r].cells = texts.at(r);
    if (n > 0)
        emit dataChanged(index(0, 0), index(int(n) - 1, std::max(0, columnCount() - 1)),
                         {Qt::DisplayRole});
}

bool ReportListModel::reorderRows(const QList<int>& order)
{
    const qsizetype n = m_rows.size();
    if (order.size() != n)
        return false;
    std::vector<bool> seen(size_t(n), false);
    for (int row : order) {
        if (row < 0 || row >= n || seen[size_t(row)])
            return false;
        seen[size_t(row)] = true;
    }
    if (n == 0)
        return true;
    // Follows each cycle of the permutation, moving the rows along it (moving a row hands
    // over its texts; none is copied). seen now marks the rows still to be filled.
    for (qsizetype start = 0; start < n; ++start) {
        if (!seen[size_t(start)])
            continue;
        ReportRow first = std::move(m_rows[start]);
        qsizetype row = start;
        while (order.at(row) != start) {
            seen[size_t(row)] = false;
            m_rows[row] = std::move(m_rows[order.at(row)]);
            row = order.at(row);
        }
        seen[size_t(row)] = false;
        m_rows[row] = std::move(first);
    }
    emit dataChanged(index(0, 0), index(int(n) - 1, std::max(0, columnCount() - 1)),
                     {Qt::DisplayRole, Qt::CheckStateRole});
    return true;
}

int ReportListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns.value(index.column()).alignment);
    case Qt::CheckStateRole:
        if (m_checkable && index.column() == 0)
            return int(m_rows.at(index.row()).check);
        return {};
    case Qt::UserRole:
        return m_rows.at(index.row()).datum;
    default:
        return {};
    }
}

bool ReportListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    if (role == Qt::CheckStateRole && m_checkable && index.column() == 0) {
        setCheckState(index.row(), Qt::CheckState(value.toInt()));
        return true;
    }
    if (role == Qt::EditRole || role == Qt::DisplayRole) {
        setText(index.row(), index.column(), value.toString());
        return true;
    }
    return false;
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns.at(section).alignment);
    return {};
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_checkable && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace mv
