#include <QApplication>

#include "platform/TestRig.h"

namespace platform {

void EnsurePlatform()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "korvelo-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace platform
