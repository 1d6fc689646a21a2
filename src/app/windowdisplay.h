#pragma once
// Opening the display the windows go on.

#include <QtGlobal>

namespace mv {

// Held while the application object is made: when the toolkit finds no display to open (none
// named in the environment, or one that does not answer), it would end the process with an
// abort, a core dump and a message in English; instead the user reads why in Chinese and the
// process ends with 1. The toolkit's other messages of that moment are passed on once the
// display is open.
class DisplayOpening
{
public:
    DisplayOpening();
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace mv
