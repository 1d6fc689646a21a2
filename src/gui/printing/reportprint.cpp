#include "gui/printing/reportprint.h"

#include "common/messages.h"
#include "gui/printing/previewprogresswindow.h"
#include "gui/printing/printsettingswindow.h"
#include "print/inistore.h"
#include "print/registrystore.h"
#include "print/reportlayout.h"
#include "print/tablefile.h"
#include "print/tablerenderer.h"
#include "widgets/reportlist.h"
#include "widgets/waitcursor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QToolBar>

namespace mv {

ReportPrint::ReportPrint(QWidget* owner) : QObject(owner), m_owner(owner) {}

ReportPrint::~ReportPrint() = default;

void ReportPrint::OpenReportPrint(ReportList* list, int storeMode, const QString& iniPath,
                                  const QString& subKey, const QString& defaultTitle)
{
    // A settings window still open for another list (or another period or item of the same)
    // shows that one's columns and title: it goes, and a new one is made for this list.
    if (m_settings && (list != m_list || defaultTitle != m_defaultTitle)) {
        m_settings->close();
        m_settings = nullptr;
    }
    m_defaultTitle = defaultTitle;
    m_list = list;
    m_storeMode = storeMode;
    m_iniPath = iniPath;
    m_subKey = withoutBlanks(subKey);
    if (!m_settings) {
        m_customColumns.clear();
        m_settings = new PrintSettingsWindow(*this, m_owner);
    }
    m_settings->show();
    m_settings->raise();
    m_settings->activateWindow();
}

std::unique_ptr<SettingsStore> ReportPrint::settingsStore() const
{
    if (m_storeMode == 2)
        return std::make_unique<IniStore>(m_iniPath);
    return std::make_unique<RegistryStore>(m_subKey);
}

void ReportPrint::BuildReportPreview(const ReportRequest& requestGiven)
{
    // Copies: nothing the user does while events are pumped can change the build's input.
    const ReportRequest request = requestGiven;
    if (m_settings)
        m_settings->hide();
    if (!m_list)
        return;
    if (m_list->viewType() != 3) {
        msgBox(u"非报表型列表框，不能预览"_qs, MsgOk, u"提示"_qs);
        return;
    }
    const ReportBuildResult result = buildTable(request);
    switch (result.status) {
    case ReportBuildStatus::NoTemplate:
        if (m_settings)
            m_settings->close();
        return;
    case ReportBuildStatus::Cancelled:
        if (m_settings)
            m_settings->showAgain();
        return;
    case ReportBuildStatus::Built:
        break;
    }
    if (m_settings)
        m_settings->close();
    showPreview(result.table);
}

ReportBuildResult ReportPrint::buildTable(const ReportRequest& request)
{
    if (!m_progress)
        m_progress = new PreviewProgressWindow(m_owner);
    m_progress->show();
    WaitCursor busy;
    const ReportSource source = m_list ? snapshotReportList(*m_list->model()) : ReportSource{};

    QElapsedTimer sincePump;
    sincePump.start();
    ReportBuildHooks hooks;
    hooks.pump = [&sincePump] {
        if (sincePump.elapsed() >= 20) {
            QCoreApplication::processEvents();
            sincePump.restart();
        }
    };
    hooks.beforeQuestion = [this, &busy] {
        m_progress->hide();
        busy.release();
    };
    ReportBuildResult result = buildReportTable(request, source, builtInReportTemplate(), hooks);
    busy.release();
    m_progress->hide();
    return result;
}

void ReportPrint::showPreview(const PrintTable& table, const QString& pdfName)
{
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer on this machine: printing writes a PDF file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::home().filePath(pdfName));
    }
    printer.setPageLayout(printPageLayout(table));
    printer.setDocName(table.pageSettings().documentName);

    QPrintPreviewDialog dialog(&printer, m_owner);
    m_preview = &dialog;
    dialog.setObjectName(u"PreviewFrame"_qs);
    dialog.setWindowTitle(u"打印预览"_qs);
    dialog.setWindowModality(Qt::ApplicationModal);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&table](QPrinter* target) { renderPrintTable(table, *target); });
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* pdf = bar->addAction(u"导出PDF"_qs);
        pdf->setObjectName(u"导出PDF"_qs);
        connect(pdf, &QAction::triggered, &dialog, [&table, &pdfName] {
            const QString path =
                saveFileName(u"导出PDF"_qs, QDir::home().filePath(pdfName), u"PDF 文件 (*.pdf)"_qs);
            if (path.isEmpty())
                return;
            QString error;
            if (!renderPrintTableToPdf(table, path, &error))
                msgBox(u"导出PDF失败："_qs + error, MsgOk, u"错误"_qs);
        });
        QAction* close = bar->addAction(u"关闭"_qs);
        close->setObjectName(u"关闭预览"_qs);
        connect(close, &QAction::triggered, &dialog, &QDialog::reject);
        // Wide enough for the whole toolbar: an action that does not fit goes behind the
        // toolbar's extension button, and 导出PDF and 关闭 would not be on the screen.
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        dialog.setMinimumWidth(bar->sizeHint().width() + margins.left() + margins.right());
    }
    // Most of the screen, centred: the dialog's own size showed the page at a size too small
    // to read its figures, and the clerk had to enlarge the window each time.
    if (const QScreen* screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        const QSize size =
            (room.size() * 0.85).expandedTo(dialog.minimumSizeHint()).boundedTo(room.size());
        dialog.resize(size);
        dialog.move(room.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    if (m_progress)
        m_progress->watch(&dialog);
    emit previewShown(&dialog);
    dialog.exec();
}

} // namespace mv
