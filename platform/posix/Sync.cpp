// POSIX stand-ins for the platform's events and thread message queue: eventfd descriptors that
// one poll can wait on together with a serial line.
#include "platform/Sync.h"
#include "platform/posix/Poll.h"

#include <cerrno>
#include <deque>
#include <mutex>
#include <system_error>

#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

int MakeEventFd()
{
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return fd;
}

void Signal(int Fd)
{
    const uint64_t one = 1;
    // A full counter is still signalled, so a failed write changes nothing that matters.
    [[maybe_unused]] auto written = write(Fd, &one, sizeof one);
}

void Unsignal(int Fd)
{
    uint64_t count;
    [[maybe_unused]] auto taken = read(Fd, &count, sizeof count);
}

} // namespace

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

bool IsSignalled(TWaitHandle Handle)
{
    if (Handle.State)
        return Handle.State->load(std::memory_order_acquire);
    return WaitForAny({Handle}, 0) == 0;
}

TEvent::TEvent(bool InitiallySet) : FHandle(MakeEventFd())
{
    if (InitiallySet)
        Set();
}

TEvent::~TEvent() { close(int(FHandle)); }

void TEvent::Set()
{
    // The state first: a waiter woken by the descriptor finds it set.
    FState.store(true, std::memory_order_release);
    Signal(int(FHandle));
}

void TEvent::Reset()
{
    Unsignal(int(FHandle));
    FState.store(false, std::memory_order_release);
}

bool TEvent::IsSet() const { return FState.load(std::memory_order_acquire); }

TWaitHandle TEvent::Handle() const { return {FHandle, &FState}; }

struct TMessageQueue::TImpl {
    std::mutex Lock;
    std::deque<TMessage> Messages;
    bool Closed = false;
    int Fd = MakeEventFd();
};

TMessageQueue::TMessageQueue() : FImpl(std::make_unique<TImpl>()) {}

TMessageQueue::~TMessageQueue() { close(FImpl->Fd); }

bool TMessageQueue::Post(TMessage Message)
{
    std::lock_guard guard(FImpl->Lock);
    if (FImpl->Closed)
        return false;
    FImpl->Messages.push_back(std::move(Message));
    if (FImpl->Messages.size() == 1)
        Signal(FImpl->Fd);
    return true;
}

bool TMessageQueue::Take(TMessage& Message)
{
    std::lock_guard guard(FImpl->Lock);
    if (FImpl->Messages.empty())
        return false;
    Message = std::move(FImpl->Messages.front());
    FImpl->Messages.pop_front();
    if (FImpl->Messages.empty())
        Unsignal(FImpl->Fd);
    return true;
}

void TMessageQueue::Close()
{
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FImpl->Lock);
        FImpl->Closed = true;
        dropped.swap(FImpl->Messages);
        Unsignal(FImpl->Fd);
    }
}

TWaitHandle TMessageQueue::Handle() const { return {FImpl->Fd}; }

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
    if (errno != 0)
        return;
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), base - steps);
}

} // namespace platform
