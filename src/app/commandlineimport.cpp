#include "app/commandlineimport.h"

#include "app/options.h"
#include "exchange/access/accessimport.h"

#include <cstdio>

namespace mv {

int runCommandLineImport(const ProgramOptions& options, const QString& dataDirectory)
{
    AccessImportOptions importOptions;
    importOptions.jet3Charset = options.importCharset;
    // An import cut short here before is put back first: this one must not build beside it.
    recoverStrandedImport(dataDirectory);
    const AccessImport import = importAccessFile(options.importFile, dataDirectory, importOptions);
    std::FILE* out = import.done ? stdout : stderr;
    std::fprintf(out, "%s\n", importSummaryText(import).toUtf8().constData());
    return import.done ? 0 : 1;
}

} // namespace mv
