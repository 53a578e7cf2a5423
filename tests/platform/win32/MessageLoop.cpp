// A plain message pump on the test's thread, as the application's message loop runs one.
#include "tests/platform/MessageLoop.h"

#include "platform/win32/Windows.h"

#include <algorithm>

namespace {

bool DispatchOne()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

} // namespace

bool HandleMessagesUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(TimeoutMs);
    for (;;) {
        while (DispatchOne())
            if (Done())
                return true;
        if (Done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        // Wakes for any message, and every millisecond for a condition that another thread
        // sets without one.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 1)),
                                  QS_ALLINPUT);
    }
}

void HandleWaitingMessages()
{
    while (DispatchOne()) {
    }
}
