#pragma once
// 保存 on the stock and monthly pages: the save dialog, then the list export with the main
// window's progress bar and a wait cursor, and a message when it fails.

#include <QString>

class QProgressBar;

namespace mv {

class ReportList;

// Asks for a file in the save dialog (.xls first, .xlsx offered; the name proposed is
// fileName, or sheetName when that is empty), then writes the list to it as the sheet
// sheetName with the progress bar shown meanwhile and hidden after. A cancelled dialog exports
// nothing; a failure is reported in a message box. Returns true when a workbook was written.
bool exportReportList(const ReportList& list, const QString& sheetName, QProgressBar* progress,
                      const QString& fileName = QString());

} // namespace mv
