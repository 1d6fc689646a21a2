#pragma once
// The marks a report list's column title carries after the list was sorted by that column.
// A title names the same column with or without them.

#include <QString>

namespace mv {

inline QString sortMarkDescending() // last sort descending
{
    return QStringLiteral("△");
}
inline QString sortMarkAscending() // last sort ascending
{
    return QStringLiteral("▽");
}

// The text without the sort marks, to match column titles whatever the list's last sort.
inline QString withoutSortMarks(QString text)
{
    text.remove(sortMarkDescending());
    text.remove(sortMarkAscending());
    return text;
}

} // namespace mv
