#pragma once
// The one way this system sleeps on descriptors. A signal delivered to the process (a debugger,
// a child ending) interrupts poll with EINTR; every waiter here would otherwise have to restart
// it by hand and, with a time limit, work out how much of it is left.

#include <poll.h>

namespace platform {

// ppoll(2) restarted after a signal with the time that is left: the number of ready
// descriptors, 0 when TimeoutMs passed (negative: no limit), -1 with errno on failure.
int PollRestarting(pollfd* Fds, nfds_t Count, int TimeoutMs);

} // namespace platform
