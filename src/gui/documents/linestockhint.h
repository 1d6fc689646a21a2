#pragma once
// Under a document's grid, the stock of the item on the line the cursor is on ("现存：滑轮
// HL-25 共 289 个"), so that a clerk typing a requisition sees what he may issue before 保存
// refuses more, and one typing a receipt sees what he adds to. The hint stands on the line of
// the footer fields, right of the last one, and follows them when the window is resized.

#include <QObject>

class QLabel;
class QWidget;

namespace mv {

class Connection;
class DocumentGrid;

class LineStockHint : public QObject
{
    Q_OBJECT
public:
    // footer: the rightmost footer field, which the hint stands beside. The connection must
    // outlive this object, which the grid owns.
    LineStockHint(DocumentGrid* grid, QWidget* footer, Connection& connection);

    QLabel* label() const { return m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFor(int row);
    void place();

    DocumentGrid* m_grid;
    QWidget* m_footer;
    Connection& m_connection;
    QLabel* m_label;
};

} // namespace mv
