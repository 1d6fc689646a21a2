#pragma once
// Where a form template's cells lie. The forms are described on the document grid's terms:
// rows and columns counted from 0, column 0 being the heading column that receives the line
// numbers, heights in the line list's pixels. The print table counts rows and columns from 1
// (the heading column is its column 1) and measures in 0.1 mm. This is the one place that
// converts between the two.

namespace mv::formgrid {

// Print table row of a form row.
constexpr int row(int formRow)
{
    return formRow + 1;
}

// Print table column of a form column.
constexpr int column(int formColumn)
{
    return formColumn + 1;
}

// A height in list pixels as 0.1 mm: one pixel is a quarter millimetre.
constexpr int height(int listPixels)
{
    return listPixels * 5 / 2;
}

} // namespace mv::formgrid
