#include "gui/data/reportlistexport.h"

#include "common/messages.h"
#include "exchange/workbook/listexport.h"
#include "widgets/reportlist.h"
#include "widgets/showoutcome.h"
#include "widgets/timingreport.h"
#include "widgets/waitcursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStandardPaths>

namespace mv {

bool exportReportList(const ReportList& list, const QString& sheetName, QProgressBar* progress,
                      const QString& fileName)
{
    // The documents folder, or the home folder where there is none: not the program's working
    // directory, where the dialog would open otherwise.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString chosen = saveFileName(
        QStringLiteral("导出到 Excel 文件"),
        QDir(folder).filePath((fileName.isEmpty() ? sheetName : fileName) + QStringLiteral(".xls")),
        QStringLiteral("Excel 97-2003 工作簿 (*.xls);;Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return false; // cancelled: nothing is exported

    const ReportListModel& model = *list.model();
    ListExportRequest request;
    for (int c = 0; c < model.columnCount(); ++c)
        request.titles.append(model.columnTitle(c));
    request.rows = model.cellTexts();
    request.sheetName = sheetName;
    request.outputPath = workbookFileName(chosen);

    ListExportOutcome outcome;
    {
        const WaitCursor wait;
        bool shown = false;
        const auto hideProgress = qScopeGuard([progress, &shown] {
            if (shown)
                progress->hide();
        });
        // An export that ends within 50 ms is over before a bar could be read: the bar appears
        // once the export has run that long and then moves at most every 50 ms (each move
        // repaints it, which would otherwise take longer than writing the rows).
        QElapsedTimer sinceMove;
        sinceMove.start();
        outcome = exportList(request, [progress, &shown, &sinceMove](int written, int total) {
            const bool due = sinceMove.elapsed() >= 50 || (shown && written == total);
            if (!progress || !due)
                return;
            if (!shown) {
                progress->setRange(0, std::max(1, total));
                progress->show();
                shown = true;
            }
            sinceMove.restart();
            progress->setValue(written);
            // Repaint the bar without taking user input in the middle of the export.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    if (outcome.done)
        reportWhenDrawn(&list, QStringLiteral("保存 wrote %1 rows").arg(model.rowCount()));
    return showOutcome(outcome);
}

} // namespace mv
