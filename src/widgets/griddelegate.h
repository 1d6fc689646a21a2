#pragma once
// Cell editors of a document grid by the column's kind: a line edit that takes only a
// number, an editable drop-down list, or a plain line edit. A text cut short shows whole as a
// tool tip.

#include "widgets/fulltextdelegate.h"

namespace mv {

class DocumentGrid;

class GridDelegate : public FullTextDelegate
{
    Q_OBJECT
public:
    explicit GridDelegate(DocumentGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    DocumentGrid* m_grid;
};

// Whether a numeric cell accepts this text as typed so far (digits, one point, a leading sign).
bool isNumericCellText(const QString& text);

} // namespace mv
