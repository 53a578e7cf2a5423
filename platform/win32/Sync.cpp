// Windows waitable objects are manual-reset events, so that one WaitForMultipleObjects covers
// the stop event, the transmit queue and an overlapped request together. (A thread's own
// message queue would also wake that wait for every window message, so the transmit queue is
// ours, over an event.)
#include "platform/Sync.h"
#include "platform/Waitable.h"
#include "platform/win32/Windows.h"

#include <system_error>

namespace platform {

namespace {

HANDLE HandleOf(intptr_t Value) { return reinterpret_cast<HANDLE>(Value); }

} // namespace

namespace waitable {

intptr_t Create()
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!event)
        throw std::system_error(int(GetLastError()), std::system_category(), "CreateEventA");
    return reinterpret_cast<intptr_t>(event);
}

void Raise(intptr_t Handle) { SetEvent(HandleOf(Handle)); }
void Lower(intptr_t Handle) { ResetEvent(HandleOf(Handle)); }
void Destroy(intptr_t Handle) { CloseHandle(HandleOf(Handle)); }

} // namespace waitable

int WaitForAny(std::initializer_list<TWaitHandle> Handles, int TimeoutMs)
{
    if (Handles.size() > MaxWaitHandles || Handles.size() == 0)
        return WaitFailed;
    HANDLE handles[MaxWaitHandles];
    DWORD count = 0;
    for (const TWaitHandle& h : Handles) {
        // -1 is no handle here, but to Windows it is the current process, which a wait would
        // sleep on for as long as the process lives.
        if (h.Value == -1 || h.Value == 0)
            return WaitFailed;
        handles[count++] = HandleOf(h.Value);
    }
    const DWORD result =
        WaitForMultipleObjects(count, handles, FALSE, TimeoutMs < 0 ? INFINITE : DWORD(TimeoutMs));
    if (result == WAIT_TIMEOUT)
        return WaitTimeout;
    if (result < WAIT_OBJECT_0 + count)
        return int(result - WAIT_OBJECT_0);
    return WaitFailed;
}

void SetCurrentThreadPriority(TThreadPriority Priority)
{
    const int priority = Priority == TThreadPriority::Highest       ? THREAD_PRIORITY_HIGHEST
                         : Priority == TThreadPriority::AboveNormal ? THREAD_PRIORITY_ABOVE_NORMAL
                                                                    : THREAD_PRIORITY_NORMAL;
    SetThreadPriority(GetCurrentThread(), priority);
}

} // namespace platform
