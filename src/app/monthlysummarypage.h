#pragma once
// The monthly summary page (超级列表框3, page 5 "moon") of the main window.
//
// MainWindow creates one MonthlySummaryPage and connects toolbar 统计 to
// buildMonthlySummary(); the slot itself does nothing unless page 1 or page 5 is shown.

#include <QObject>

class QDateEdit;
class QProgressBar;

namespace mv {

class Connection;
class ReportList;
class TabControl;

class MonthlySummaryPage : public QObject
{
    Q_OBJECT
public:
    StockPageDummy();
};

} // namespace mv
