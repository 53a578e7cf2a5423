#include "platform/Sound.h"

#include <QApplication>
#include <QCoreApplication>

namespace platform {

void MessageBeep(unsigned)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

} // namespace platform
