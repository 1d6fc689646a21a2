#pragma once
// Adding, changing and deleting custom columns, with the messages the formula windows show.

#include "common/outcome.h"
#include "print/reportrequest.h"

#include <QString>
#include <QStringList>

namespace mv {

class FormulaEngine;

inline constexpr int kIconError = 0x10;
inline constexpr int kIconWarning = 0x30;

enum class CustomColumnField
{
    None,
    Formula,
};

// Done, or the refusal's message (with its own code) and the field to correct.
using CustomColumnOutcome = Outcome<CustomColumnField>;

// listTitles: every column title of the source list (ticked or not).
CustomColumnOutcome AddCustomColumn(QList<CustomColumn>& columns, const QStringList& listTitles,
                                    const QString& name, const QString& formula,
                                    FormulaEngine& engine);
// row: 0-based row of the custom column list; originalName: its name when editing began.
CustomColumnOutcome ModifyCustomColumn(QList<CustomColumn>& columns, const QStringList& listTitles,
                                       int row, const QString& originalName, const QString& name,
                                       const QString& formula, FormulaEngine& engine);
// row -1: nothing selected.
CustomColumnOutcome DeleteCustomColumn(QList<CustomColumn>& columns, int row);

} // namespace mv
