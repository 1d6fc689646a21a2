#include "widgets/showoutcome.h"

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
}

} // namespace mv
