#pragma once
// A list view in report mode: columns, rows of cell texts with an integer datum each and
// optional check boxes, backed by a ReportListModel so whole lists fill in one reset.

#include "common/reportlistmodel.h"

#include <QPixmap>
#include <QPoint>
#include <QTableView>

namespace mv {

class ReportList : public QTableView
{
    Q_OBJECT
public:
    explicit ReportList(QWidget* parent = nullptr);

    ReportListModel* model() const { return m_model; }

    // Replaces the columns: titles, widths and alignments go to the header.
    void setColumns(const QList<ReportColumn>& columns);

    // The selected row, -1 for none.
    int selectedRow() const;
    // Selects a whole row; -1 clears the selection.
    void setSelectedRow(int row);

    // The list view's display mode; only report mode (3) is drawn.
    int viewType() const { return m_viewType; }
    void setViewType(int type) { m_viewType = type; }

    // A picture tiled behind the rows (see stripes.h); a null picture removes it.
    void setStripePicture(const QPixmap& picture);
    QPixmap stripePicture() const { return m_stripes; }

    // What an empty list says in its middle: how to fill it.
    void setPlaceholderText(const QString& text);
    QString placeholderText() const { return m_placeholder; }

signals:
    void headerClicked(int column);
    // row is -1 when the double click was not on a row; Return on the selected row sends it too.
    void rowDoubleClicked(int row);
    // row is -1 when the click was not on a row.
    void rightClicked(int row, QPoint globalPos);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColumnWidths();

    ReportListModel* m_model;
    QPixmap m_stripes;
    QString m_placeholder;
    int m_viewType = 3;
    bool m_applyingWidths = false;
};

} // namespace mv
