#pragma once
// The printable form of a document: its template found and loaded, filled with the document,
// and its wrapped rows grown to hold their text.

#include "documents/documentprintfill.h"

namespace mv {

class PrintTable;

// On failure (no usable template) the outcome carries the message and table is untouched.
DocumentOutcome buildPrintForm(const PrintedDocument& document,
                               const QStringList& templateDirectories, PrintTable& table);

} // namespace mv
