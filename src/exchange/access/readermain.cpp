// morvane-accessreader: the Access import's reader, in a process of its own so that a damaged
// Access file cannot crash the program (see accessimportchild.h). Started by the program.

#include "exchange/access/accessimportchild.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return mv::runAccessImportChild(QCoreApplication::arguments().mid(1));
}
