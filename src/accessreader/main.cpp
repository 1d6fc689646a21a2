// morvane-accessreader: the Access import's reader, in a process of its own so that a damaged
// Access file cannot crash the program (see data/accessimportchild.h). Started by the program.

#include "data/accessimportchild.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return mv::runAccessImportChild(QCoreApplication::arguments().mid(1));
}
