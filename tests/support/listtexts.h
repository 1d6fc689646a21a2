#pragma once
// Reading a report list back in tests.

#include "common/reportlistmodel.h"

#include <QStringList>

namespace mv::test {

// The texts of one column, top to bottom.
inline QStringList columnTexts(const ReportListModel& list, int column)
{
    QStringList texts;
    for (int r = 0; r < list.rowCount(); ++r)
        texts.append(list.text(r, column));
    return texts;
}

} // namespace mv::test
