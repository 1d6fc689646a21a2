#pragma once
// The monthly summary page (超级列表框3, page 5 "moon") of the main window.
//
// MainWindow creates one MonthlySummaryPage and connects toolbar 统计 to
// buildMonthlySummary().

#include "gui/main/savingpage.h"
#include "stock/itemkey.h"

#include <QDate>
#include <QObject>
#include <optional>

class QDateEdit;
class QProgressBar;

namespace mv {

class Connection;
class ReportList;
class ReportPrint;
class TabControl;

class MonthlySummaryPage : public QObject, public SavingPage
{
    Q_OBJECT
public:
    // Finds its controls by name among mainWindow's children; the connection must outlive it.
    MonthlySummaryPage(QWidget* mainWindow, Connection& connection);

    // 保存: exports the summary as the sheet 月度汇总; refused while the page shows a summary
    // that its last 统计 could not refresh.
    void save() override;
    // The item of the summary row selected, if any.
    std::optional<ItemKey> chosenItem() const;
    // 打印/预览: the print module on the summary, with settings of its own and the period of
    // the summary shown as the title; refused, as 保存 is, while the summary is not refreshed.
    void print(ReportPrint& module);

public slots:
    // The data were replaced: the summary computed from the old data is emptied.
    void dataReplaced();
    // Switches to page 5 and fills 超级列表框3 for the date parts of formo .. too (both
    // included), with 进度条1 shown meanwhile, from whichever page 统计 was pressed on (once
    // shown with the stock page, the button and the period pickers stay on the document
    // pages, where pressing it did nothing). A failed query keeps the rows shown before and
    // marks the page not refreshed.
    void buildMonthlySummary();

private:
    // The empty list's hint before a summary is made.
    void showHowToFill();
    // The period of the rows shown, its two dates joined by between.
    QString periodText(const QString& between) const;

    Connection& m_connection;
    TabControl* m_tabs = nullptr;
    ReportList* m_summaryList = nullptr;
    ReportList* m_stockList = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_notRefreshed = false; // the last 统计 failed: the rows are older than it
    QDate m_builtFrom;           // the period of the rows shown (null before the first 统计)
    QDate m_builtTo;
};

} // namespace mv
