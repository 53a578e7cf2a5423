#include "platform/Sound.h"
#include "platform/win32/Windows.h"

namespace platform {

namespace {
unsigned long gBeeps = 0;
}

void MessageBeep(unsigned)
{
    ++gBeeps;
    ::MessageBeep(0);
}

unsigned long BeepCount() { return gBeeps; }

} // namespace platform
