#include "gui/documents/documentprinting.h"

#include "common/messages.h"
#include "documents/documentform.h"
#include "documents/printtemplate.h"
#include "exchange/backup/databasebackup.h"
#include "gui/printing/reportprint.h"
#include "print/printtable.h"
#include "print/tablerenderer.h"
#include "widgets/reportlist.h" // completes the types of the preview's header
#include "widgets/showoutcome.h"

#include <QCoreApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace mv {

namespace {

// The form's name with the document number, as a PDF file name.
QString pdfFileName(const PrintTable& table, const PrintedDocument& document)
{
    return table.pageSettings().documentName + document.number + QStringLiteral(".pdf");
}

} // namespace

DocumentPrinting::DocumentPrinting(const Connection& connection, ReportPrint& preview,
                                   QWidget* owner)
    : QObject(owner), m_connection(connection), m_preview(preview), m_owner(owner)
{
}

bool DocumentPrinting::build(const PrintedDocument& document, PrintTable& table) const
{
    const QStringList directories = printTemplateDirectories(
        dataDirectoryOf(m_connection), QCoreApplication::applicationDirPath());
    const DocumentOutcome outcome = buildPrintForm(document, directories, table);
    return showOutcome(outcome);
}

void DocumentPrinting::print(const PrintedDocument& document)
{
    PrintTable table;
    if (!build(document, table))
        return;
    QString error;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const QString path = saveFileName(QStringLiteral("打印到PDF文件"),
                                          QDir::home().filePath(pdfFileName(table, document)),
                                          QStringLiteral("PDF 文件 (*.pdf)"));
        if (!path.isEmpty() && !renderPrintTableToPdf(table, path, &error))
            msgBox(QStringLiteral("导出PDF失败：") + error, MsgOk, QStringLiteral("错误"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(printPageLayout(table));
    printer.setDocName(table.pageSettings().documentName);
    QPrintDialog dialog(&printer, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!renderPrintTable(table, printer, &error))
        msgBox(QStringLiteral("打印失败：") + error, MsgOk, QStringLiteral("错误"));
}

void DocumentPrinting::preview(const PrintedDocument& document)
{
    PrintTable table;
    if (build(document, table))
        m_preview.showPreview(table, pdfFileName(table, document));
}

} // namespace mv
