#pragma once
// The one way a window shows an outcome: its message (when it has one), then the focus on the
// control of the field it names, after bringing forward the tab page that holds the control.

#include "common/outcome.h"

#include <QList>

class QWidget;

namespace mv {

// A window's table from the fields its outcomes name to the controls that hold them. A field
// in a grid names its column; the outcome names the row.
template <class Field> struct FieldControl
{
    Field field;
    QWidget* control = nullptr;
    int column = -1;
};
template <class Field> using FieldControls = QList<FieldControl<Field>>;

// Focuses the control (the cell at row and column of a grid, when column is given), after
// making current every tab page that holds it; the text of an edit box is selected.
void focusControl(QWidget* control, int row = 0, int column = -1);

// Shows the outcome; true when it was done.
template <class Field>
bool showOutcome(const Outcome<Field>& outcome, const FieldControls<Field>& controls = {})
{
    if (!outcome.message.isEmpty())
        msgBox(outcome.message, outcome.code, outcome.title);
    if (outcome.focus != Field::None)
        for (const FieldControl<Field>& entry : controls)
            if (entry.field == outcome.focus) {
                focusControl(entry.control, outcome.row, entry.column);
                break;
            }
    return outcome.done;
}

} // namespace mv
