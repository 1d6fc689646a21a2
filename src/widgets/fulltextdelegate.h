#pragma once
// Cells that show their text cut short ("超白钢化夹…") show the whole text as a tool tip when
// the mouse rests on them: a long name or remark can be read without widening its column,
// which a document's grid does not allow.

#include <QStyledItemDelegate>

namespace mv {

class FullTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace mv
