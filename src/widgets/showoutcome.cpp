#include "widgets/showoutcome.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace mv {

void focusControl(QWidget* control, int row, int column)
{
    if (!control)
        return;
    // A tab page is a child of the tab widget's page stack.
    for (QWidget* page = control; page->parentWidget(); page = page->parentWidget()) {
        QWidget* stack = page->parentWidget();
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
            tabs && tabs->indexOf(page) >= 0)
            tabs->setCurrentWidget(page);
    }
    if (auto* grid = qobject_cast<QTableWidget*>(control); grid && column >= 0)
        grid->setCurrentCell(row, column);
    control->setFocus();
    // The text to correct is selected, so what the clerk types next replaces it instead of
    // being added to the refused text.
    if (auto* combo = qobject_cast<QComboBox*>(control))
        control = combo->lineEdit();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

} // namespace mv
