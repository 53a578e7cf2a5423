// POSIX stand-ins for the platform's waitable objects: eventfd descriptors that one poll can
// wait on together with a serial line.
#include "platform/Sync.h"
#include "platform/Waitable.h"
#include "platform/posix/Poll.h"

#include <cerrno>
#include <system_error>

#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

// The shortest slice the scheduler grants on request.
constexpr uint64_t RaisedThreadSliceNs = 100000;

// The kernel's scheduling attributes as first published (the C library offers no declaration
// that does not clash with its own).
struct TSchedAttr {
    uint32_t size;
    uint32_t sched_policy;
    uint64_t sched_flags;
    int32_t sched_nice;
    uint32_t sched_priority;
    uint64_t sched_runtime;
    uint64_t sched_deadline;
    uint64_t sched_period;
};

} // namespace

namespace waitable {

intptr_t Create()
{
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return fd;
}

void Raise(intptr_t Handle)
{
    const uint64_t one = 1;
    // A full counter is still signalled, so a failed write changes nothing that matters.
    [[maybe_unused]] auto written = write(int(Handle), &one, sizeof one);
}

void Lower(intptr_t Handle)
{
    uint64_t count;
    [[maybe_unused]] auto taken = read(int(Handle), &count, sizeof count);
}

void Destroy(intptr_t Handle) { close(int(Handle)); }

} // namespace waitable

int WaitForAny(std::initializer_list<TWaitHandle> Handles, int TimeoutMs)
{
    if (Handles.size() > MaxWaitHandles)
        return WaitFailed;
    pollfd fds[MaxWaitHandles];
    nfds_t count = 0;
    for (const TWaitHandle& h : Handles) {
        // poll would silently skip a negative descriptor and sleep on the rest.
        if (h.Value < 0)
            return WaitFailed;
        fds[count++] = {static_cast<int>(h.Value), POLLIN, 0};
    }
    const int n = PollRestarting(fds, count, TimeoutMs < 0 ? -1 : TimeoutMs);
    if (n < 0)
        return WaitFailed;
    for (nfds_t i = 0; i < count; ++i) {
        if (fds[i].revents & POLLNVAL)
            return WaitFailed;
        if (fds[i].revents)
            return static_cast<int>(i);
    }
    return WaitTimeout;
}

void SetCurrentThreadPriority(TThreadPriority Priority)
{
    const int steps = Priority == TThreadPriority::Highest       ? 2
                      : Priority == TThreadPriority::AboveNormal ? 1
                                                                 : 0;
    if (steps == 0)
        return;
    // A raised thread also ends its timed waits on time, without the default 50 µs of slack
    // the kernel may add to batch wake-ups.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    // Linux keeps a nice value per thread; lowering it needs privilege, and without it the
    // thread simply keeps the process's priority.
    errno = 0;
    const int base = getpriority(PRIO_PROCESS, 0);
    if (errno == 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), base - steps);
    // What makes a woken thread run at once on a busy machine is a short time slice: the
    // scheduler lets such a thread preempt the one running instead of queueing it behind
    // that one's slice of milliseconds. Any thread may ask for it; kernels before 6.12 ignore
    // the request.
    TSchedAttr attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0)
        return;
    attr.size = sizeof attr;
    attr.sched_flags = 0;
    attr.sched_runtime = RaisedThreadSliceNs;
    syscall(SYS_sched_setattr, 0, &attr, 0);
}

} // namespace platform
