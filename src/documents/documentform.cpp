#include "documents/documentform.h"

#include "documents/printtemplate.h"
#include "print/printtable.h"
#include "print/wrappedrows.h"

namespace mv {

DocumentOutcome buildPrintForm(const PrintedDocument& document,
                               const QStringList& templateDirectories, PrintTable& table)
{
    // A fresh table each time: nothing of an earlier form is printed again.
    PrintTable form;
    const DocumentOutcome loaded = loadPrintTemplate(document.kind, templateDirectories, form);
    if (!loaded.done)
        return loaded;
    fillPrintForm(form, document);
    fitWrappedRows(form);
    table = form;
    return DocumentOutcome::success();
}

} // namespace mv
