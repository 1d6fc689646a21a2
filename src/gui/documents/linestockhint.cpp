#include "gui/documents/linestockhint.h"

#include "documents/document.h"
#include "stock/stockbalance.h"
#include "widgets/documentgrid.h"

#include <QEvent>
#include <QLabel>

namespace mv {

LineStockHint::LineStockHint(DocumentGrid* grid, QWidget* footer, Connection& connection)
    : QObject(grid), m_grid(grid), m_footer(footer), m_connection(connection),
      m_label(new QLabel(grid->parentWidget())) // the page owns it
{
    m_label->setObjectName(grid->objectName() + u"_现存"_qs);
    place();
    for (QWidget* w : {static_cast<QWidget*>(m_grid), m_footer})
        w->installEventFilter(this);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { showFor(row); });
    connect(m_grid, &DocumentGrid::cellEdited, this, [this](int row, int column) {
        if (row == m_grid->currentRow() &&
            (column == LineName || column == LineModel || column == LineUnit))
            showFor(row);
    });
    // Another document loaded: its lines are read afresh.
    connect(m_grid->model(), &QAbstractItemModel::rowsRemoved, m_label, &QLabel::clear);
}

void LineStockHint::showFor(int row)
{
    const QString name = row >= 1 ? m_grid->cellText(row, LineName).trimmed() : QString();
    if (name.isEmpty() || m_grid->columnSpan(row, 0) > 1) { // no item, or the totals row
        m_label->clear();
        return;
    }
    const QString model = m_grid->cellText(row, LineModel).trimmed();
    bool ok = false;
    const qint64 balance = StockBalance(m_connection, name, model, &ok);
    if (!ok) {
        m_label->clear(); // a hint only: the save checks the stock and says what went wrong
        return;
    }
    const QString item = model.isEmpty() ? name : name + u' ' + model;
    m_label->setText(u"现存：%1 共 %2 %3"_qs.arg(item)
                         .arg(stockFigure(balance))
                         .arg(m_grid->cellText(row, LineUnit).trimmed()));
}

bool LineStockHint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        place();
    return QObject::eventFilter(watched, event);
}

void LineStockHint::place()
{
    const int left = m_footer->geometry().right() + 30;
    const int right = m_grid->geometry().right();
    m_label->setGeometry(left, m_footer->y(), std::max(0, right - left), m_footer->height());
}

} // namespace mv
