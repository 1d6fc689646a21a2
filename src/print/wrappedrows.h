#pragma once
// Rows that grow to hold their wrapped cells, so a long text breaks into lines inside its cell
// instead of running over the row below.

namespace mv {

class PrintTable;

// Raises the height of every row whose wrapped cells (one row high) need more than one line;
// rows never shrink.
void fitWrappedRows(PrintTable& table);

} // namespace mv
