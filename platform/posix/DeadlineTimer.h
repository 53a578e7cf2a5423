#pragma once
// A descriptor that turns readable at an absolute moment of the steady clock, for threads that
// sleep in poll and must wake at a deadline: the kernel keeps such a timer more closely than a
// relative poll time-out, which may run late by a tenth of a per cent of its length.
//
// Any thread may arm or disarm a timer that another thread polls.

#include <chrono>

namespace platform {

// -1 when the system has none left to give.
int CreateDeadlineTimer();
// Readable from End on (at once when End has passed) until disarmed or armed afresh; false
// with errno on failure.
bool ArmDeadlineTimer(int Timer, std::chrono::steady_clock::time_point End);
// No longer readable, whether or not it had fired.
void DisarmDeadlineTimer(int Timer);

} // namespace platform
