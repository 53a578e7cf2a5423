#include "platform/posix/Poll.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace platform {

int PollRestarting(pollfd* Fds, nfds_t Count, int TimeoutMs)
{
    using TClock = std::chrono::steady_clock;
    const TClock::time_point end = TClock::now() + std::chrono::milliseconds(TimeoutMs);
    timespec left{TimeoutMs / 1000, (TimeoutMs % 1000) * 1000000L};
    for (;;) {
        const int n = ppoll(Fds, Count, TimeoutMs < 0 ? nullptr : &left, nullptr);
        if (n >= 0 || errno != EINTR)
            return n;
        if (TimeoutMs >= 0) {
            const auto rest = std::max(end - TClock::now(), TClock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(rest).count();
            left = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        }
    }
}

} // namespace platform
