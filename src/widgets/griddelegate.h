#pragma once
// Cell editors of a document grid by the column's kind: a line edit that takes only a
// number, an editable drop-down list, or a plain line edit. A text cut short shows whole as a
// tool tip; the arrow keys move between lines in every kind of cell.

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

protected:
    // Up and Down (and the page keys) in a drop-down cell move to the line above or below, as
    // in the other cells, keeping what was typed; the list opens with Alt+Down.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentGrid* m_grid;
};

// Whether a numeric cell accepts this text as typed so far (digits, one point, a leading sign).
bool isNumericCellText(const QString& text);

} // namespace mv
