#include "widgets/fulltextdelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace mv {

namespace {

// Whether the cell's text is wider than the room the style paints it into.
bool isCutShort(const QStyleOptionViewItem& option)
{
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return option.fontMetrics.horizontalAdvance(option.text) > room.width() - 2 * margin;
}

} // namespace

bool FullTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && index.isValid() &&
        !index.data(Qt::ToolTipRole).isValid()) {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        if (!cell.text.isEmpty() && isCutShort(cell)) {
            QToolTip::showText(event->globalPos(), cell.text, view->viewport(),
                               view->visualRect(index));
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace mv
