#pragma once
// The form templates of receipts (rk.gjbg) and requisitions (ll.gjbg): where they are looked
// up and how they are loaded.

#include "documents/document.h"

#include <QStringList>

namespace mv {

class PrintTable;

// "rk.gjbg" or "ll.gjbg".
QString printTemplateName(DocumentKind kind);

// The installed share directory of a program in <prefix>/bin: <prefix>/share/morvane.
QString installedShareDirectory(const QString& programDirectory);

// The directories searched, in order: the data directory (where a user puts his own form),
// the program's directory and the installed share directory beside it, the built-in copy.
QStringList printTemplateDirectories(const QString& dataDirectory, const QString& programDirectory);

// The file the kind's template is loaded from: in the first directory that has it (the
// built-in copy is ":/templates/<name>"); empty when none has it.
QString findPrintTemplate(DocumentKind kind, const QStringList& directories);

// Loads the kind's template from the first directory that has it. A template that is there but
// cannot be read or is damaged is not passed over: the outcome says "找不到打印模板" with its
// path (title "提示"), or "打印模板已损坏" with its path when it asks for more rows, columns or
// cell text than a table file may hold; table is left as it was.
DocumentOutcome loadPrintTemplate(DocumentKind kind, const QStringList& directories,
                                  PrintTable& table);

} // namespace mv
