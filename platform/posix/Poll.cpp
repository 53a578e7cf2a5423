#include "platform/posix/Poll.h"

#include <cerrno>
#include <chrono>

int PollRestarting(pollfd* Fds, nfds_t Count, int TimeoutMs)
{
    using TClock = std::chrono::steady_clock;
    const TClock::time_point end = TClock::now() + std::chrono::milliseconds(TimeoutMs);
    int left = TimeoutMs;
    for (;;) {
        const int n = poll(Fds, Count, left);
        if (n >= 0 || errno != EINTR)
            return n;
        if (TimeoutMs >= 0) {
            // Rounded up, so that the wait never ends before its time.
            const auto rest = std::chrono::ceil<std::chrono::milliseconds>(end - TClock::now());
            left = rest.count() > 0 ? static_cast<int>(rest.count()) : 0;
        }
    }
}
