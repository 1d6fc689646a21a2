#include "widgets/griddelegate.h"

#include "widgets/combobox.h"
#include "widgets/documentgrid.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace mv {

namespace {

const QRegularExpression& numericPattern()
{
    // Full-width digits and point count as digits and point.
    static const QRegularExpression pattern(
        QStringLiteral("^[-－]?[0-9０-９]*([.．][0-9０-９]*)?$"));
    return pattern;
}

} // namespace

bool isNumericCellText(const QString& text)
{
    return numericPattern().match(text).hasMatch();
}

GridDelegate::GridDelegate(DocumentGrid* grid) : FullTextDelegate(grid), m_grid(grid) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    switch (m_grid->columnKind(index.column())) {
    case DocumentGrid::CellKind::Numeric: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setValidator(new QRegularExpressionValidator(numericPattern(), edit));
        return edit;
    }
    case DocumentGrid::CellKind::DropDown: {
        // Editable, keeping the text as typed, not turned by the wheel.
        auto* combo = new ComboBox(parent);
        setListItems(combo, m_grid->dropDownItems(index.column()));
        return combo;
    }
    case DocumentGrid::CellKind::Computed:
        return nullptr;
    case DocumentGrid::CellKind::Text:
        break;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentText(index.data(Qt::EditRole).toString());
        // As in a text cell, the cell's text is selected: typing replaces it.
        if (combo->lineEdit())
            combo->lineEdit()->selectAll();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

bool GridDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // An editable combo box steps to its next item on Down (and Page Down): a clerk who typed
    // 合页 and pressed Down to go on to the next line got another product in the cell instead.
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo && event->type() == QEvent::KeyPress && !combo->view()->isVisible()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool moves = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                           key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
        if (moves && !(key->modifiers() & Qt::AltModifier)) {
            // The grid moves its cursor, which hands the typed text to the cell first.
            QKeyEvent move(QEvent::KeyPress, key->key(), key->modifiers());
            QCoreApplication::sendEvent(m_grid, &move);
            return true;
        }
    }
    // Return takes the cell typed and goes on to the next one, as Tab does: left on the cell
    // just typed, the cursor would have the next text typed replace it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool choosing =
            combo && (combo->view()->isVisible() ||
                      (combo->completer() && combo->completer()->popup()->isVisible()));
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier) && !choosing) {
            // Without an editor there: a click into one would put the caret after its text,
            // and the text typed then would be added to it rather than replace it.
            auto* editor = static_cast<QWidget*>(watched);
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            m_grid->moveToNextCell();
            return true;
        }
    }
    return FullTextDelegate::eventFilter(watched, event);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
    // Spaces before or after a text cannot be seen in the grid, yet a name typed with one
    // would be another stock item than the name without it: they are not kept.
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, enteredText(combo), Qt::EditRole);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text().trimmed(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace mv
