#pragma once
// 打印 and 预览 on the receipt and requisition pages: the document's form is built from its
// template and printed, or shown in the preview titled "打印预览".

#include <QObject>

class QWidget;

namespace mv {

class Connection;
class PrintTable;
class ReportPrint;
struct PrintedDocument;

class DocumentPrinting : public QObject
{
    Q_OBJECT
public:
    // Templates are looked up in the connection's data directory first; the preview is the
    // report print module's.
    DocumentPrinting(const Connection& connection, ReportPrint& preview, QWidget* owner);

    // Prints through the print dialog; with no printer on the machine, into a PDF file.
    void print(const PrintedDocument& document);
    void preview(const PrintedDocument& document);

private:
    // The filled form; false (after telling the user) when there is no usable template.
    bool build(const PrintedDocument& document, PrintTable& table) const;

    const Connection& m_connection;
    ReportPrint& m_preview;
    QWidget* m_owner;
};

} // namespace mv
