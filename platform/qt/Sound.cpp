#include "platform/Sound.h"

#include <QApplication>
#include <QCoreApplication>

namespace platform {

namespace {
unsigned long gBeeps = 0;
}

void MessageBeep(unsigned)
{
    ++gBeeps;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

unsigned long BeepCount() { return gBeeps; }

} // namespace platform
