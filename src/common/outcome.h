#pragma once
// What an operation did, for the window that asked for it: done or not, the message to show
// (with its title and message-box code) and, after a refusal, the field to correct. Each area
// names its fields in an enum class of its own whose first value is None; a window keeps one
// table from those fields to its controls and shows every outcome the same way
// (widgets/showoutcome.h). Operations that hand back more than that derive from Outcome.

#include "common/messages.h"

#include <QString>

namespace mv {

// The fields of an operation that names none.
enum class NoField
{
    None
};

template <class Field = NoField> struct Outcome
{
    bool done = false;
    QString message; // shown when not empty
    QString title;
    int code = MsgOk;          // the message box's buttons and icon
    Field focus = Field::None; // the field to correct after a refusal
    int row = 0;               // for a field in a grid: its row

    static Outcome success(const QString& message = {}, const QString& title = {}, int code = MsgOk)
    {
        return {true, message, title, code, Field::None, 0};
    }
    static Outcome refused(const QString& message, const QString& title, Field focus = Field::None,
                           int row = 0, int code = MsgOk)
    {
        return {false, message, title, code, focus, row};
    }
};

} // namespace mv
