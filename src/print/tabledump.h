#pragma once
// A plain-text dump of a print table (page record, widths, rows with their cells' texts and
// attributes, merges), compared with expected files by the layout tests.

#include <QString>

namespace mv {

class PrintTable;

// Attributes equal to a fresh cell's are left out, so the dump shows what a layout set.
QString dumpPrintTable(const PrintTable& table);

} // namespace mv
