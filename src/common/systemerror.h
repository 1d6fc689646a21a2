#pragma once
// The reason a system call failed (errno), as the user reads it.

#include <QString>

namespace mv {

// The common reasons (a full disk, a file too large for it, a missing file or directory, no
// permission, a read-only disk, a failing disk) in Chinese; any other in the system's own
// words.
QString systemErrorText(int code);

} // namespace mv
