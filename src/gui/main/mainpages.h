#pragma once
// Tab page indexes of the main window's tab control 选择夹1.

namespace mv {

enum MainPage
{
    PageHome = 0,
    PageStock = 1,
    PageMovements = 2,
    PageReceipt = 3,
    PageRequisition = 4,
    PageMonthly = 5,
    PagePrint = 6,
};

} // namespace mv
