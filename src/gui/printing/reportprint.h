#pragma once
// The report print module's entry and state: the source list, the store selector, the
// custom columns, the settings window, the progress window and the preview.
//
// MainWindow owns one ReportPrint and calls OpenReportPrint(超级列表框1, 0, "", "") from the
// stock page's 打印 button.

#include "gui/printing/previewprogresswindow.h"
#include "gui/printing/printsettingswindow.h"
#include "print/reportlayout.h"
#include "print/reportrequest.h"
#include "widgets/reportlist.h"

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <memory>

class QTimer;
class QWidget;

namespace mv {

class PrintTable;
class SettingsStore;

class ReportPrint : public QObject
{
    Q_OBJECT
public:
    // owner parents the windows of the module.
    explicit ReportPrint(QWidget* owner);
    ~ReportPrint() override;

    // Remembers the list and the store (storeMode 2: the INI file at iniPath; otherwise the
    // registry under subKey, blanks removed) and shows the settings window; while one is
    // open for the same list and title it is brought forward instead. defaultTitle fills an
    // empty title box (what the list shows: a period, an item) and is never saved as the
    // title, so that the next print of another period or item is not headed by this one.
    void OpenReportPrint(ReportList* list, int storeMode, const QString& iniPath,
                         const QString& subKey, const QString& defaultTitle = QString());

    // Builds the preview table from a copy of the request and of the list's rows, then
    // shows the preview. The busy cursor and the progress window never outlive the build.
    void BuildReportPreview(const ReportRequest& request);

    // The table of a preview: the progress window and the busy cursor while it is built,
    // both gone on every outcome.
    ReportBuildResult buildTable(const ReportRequest& request);

    std::unique_ptr<SettingsStore> settingsStore() const;
    ReportList* sourceList() const { return m_list; }
    const QString& defaultTitle() const { return m_defaultTitle; }
    QList<CustomColumn>& customColumns() { return m_customColumns; }
    PrintSettingsWindow* settingsWindow() const { return m_settings; }
    PreviewProgressWindow* progressWindow() const { return m_progress; }
    QPrintPreviewDialog* previewDialog() const { return m_preview; }

    // Shows the table in the modal preview titled "打印预览" (with 导出PDF); pdfName is the
    // file name offered when the table goes to a PDF file.
    void showPreview(const PrintTable& table, const QString& pdfName = QStringLiteral("报表.pdf"));

signals:
    // The preview dialog is open (for tests: it is modal).
    void previewShown(QPrintPreviewDialog* dialog);

private:
    QWidget* m_owner;
    QPointer<ReportList> m_list;
    int m_storeMode = 0;
    QString m_iniPath;
    QString m_subKey;
    QString m_defaultTitle;
    QList<CustomColumn> m_customColumns;
    QPointer<PrintSettingsWindow> m_settings;
    QPointer<PreviewProgressWindow> m_progress;
    QPointer<QPrintPreviewDialog> m_preview;
};

} // namespace mv
