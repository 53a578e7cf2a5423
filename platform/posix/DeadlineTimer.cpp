#include "platform/posix/DeadlineTimer.h"

#include <sys/timerfd.h>

namespace platform {

int CreateDeadlineTimer()
{
    // CLOCK_MONOTONIC is the steady clock's.
    return timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
}

bool ArmDeadlineTimer(int Timer, std::chrono::steady_clock::time_point End)
{
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(End.time_since_epoch()).count();
    itimerspec at{};
    // Zero would disarm the timer; a deadline that early has passed anyway.
    at.it_value.tv_sec = ns > 0 ? ns / 1000000000 : 0;
    at.it_value.tv_nsec = ns > 0 ? ns % 1000000000 : 1;
    return timerfd_settime(Timer, TFD_TIMER_ABSTIME, &at, nullptr) == 0;
}

void DisarmDeadlineTimer(int Timer)
{
    const itimerspec off{};
    timerfd_settime(Timer, 0, &off, nullptr);
}

} // namespace platform
