#pragma once
// The name a save dialog gives back, completed with the extension of the file type chosen.

#include <QString>

namespace mv {

// path as typed in a save dialog whose name filters are filters ("Excel 工作簿 (*.xlsx);;…",
// Qt's form) and whose chosen filter is selected: unchanged when its name already fits a
// pattern of one of the filters (or a filter takes any name), otherwise with the chosen
// filter's extension added: "月末" → "月末.xlsx" when the .xlsx type is chosen, "库存12.10" →
// "库存12.10.xls" (a dot in a name is no extension of a type offered).
QString withChosenSuffix(const QString& path, const QString& filters, const QString& selected);

} // namespace mv
