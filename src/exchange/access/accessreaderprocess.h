#pragma once
// The program's side of the Access reader's process (see accessimportchild.h): starts it,
// passes its progress on, and turns whatever way it ends into a plain outcome, a crash or a
// reader that stopped making progress included.

#include "exchange/access/accessimport.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace mv {

struct ReaderBuild
{
    bool done = false;
    QString message; // what failed; empty when done
    QList<ImportedTable> tables;
    QByteArray diagnostics; // what the reader printed, for the log
};

// The reader program installed with this one: beside it, or in ../libexec/morvane.
QString accessReaderProgram();

// Builds buildPath from accessFile in the reader's process (options.readerProgram, else
// accessReaderProgram()). Returns when the process has ended.
ReaderBuild buildInReaderProcess(const QString& accessFile, const QString& buildPath,
                                 const AccessImportOptions& options);

} // namespace mv
