#pragma once
// ExportWindow: the invisible window that exists while one list export runs and holds its
// own database connection (外部数据库1, on the temporary export database), closed when the
// window goes. exportReportList() is what 保存 on the stock and monthly pages does.

#include "data/connection.h"

#include <QWidget>

class QProgressBar;

namespace mv {

class ReportList;

class ExportWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);
    ~ExportWindow() override;

    Connection& connection() { return m_connection; }

private:
    Connection m_connection;
};

// Asks for a file in the save dialog (.xls first, .xlsx offered), then writes the list to it
// as the sheet sheetName with the progress bar shown meanwhile and hidden after. A cancelled
// dialog exports nothing; a failure is reported in a message box. Returns true when a
// workbook was written.
bool exportReportList(const ReportList& list, const QString& sheetName, QProgressBar* progress);

} // namespace mv
