#include "platform/Bell.h"

#include <QApplication>

namespace platform {

namespace {
unsigned long gRings = 0;
}

void RingBell()
{
    ++gRings;
    // A console program has no windowing system to beep through.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

unsigned long BellCount() { return gRings; }

} // namespace platform
