#pragma once
// Writing print table files, for tests that put template files of their own in place.

#include "print/printtable.h"

#include <QString>

namespace mv::test {

// Writes through QSaveFile: the file is complete or left as it was.
bool savePrintTableFile(const PrintTable& table, const QString& path, QString* error = nullptr);

} // namespace mv::test
