#pragma once
// Whether the window program has a screen to open its windows on.

#include <QString>

namespace mv {

// Why no window can be opened here (no display named in the environment, nor a platform
// chosen by QT_QPA_PLATFORM or -platform), as the user reads it; empty when one can.
// Without this check the toolkit ends the process with an abort and a message in English.
QString missingDisplayMessage(int argc, const char* const argv[]);

} // namespace mv
