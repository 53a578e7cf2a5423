#pragma once
// The test thread's message loop, for tests of what the user-interface thread serves: each
// backend runs it as its own application would.

#include <functional>

// Handles messages until Done answers true or TimeoutMs passes; answers Done(). Done is asked
// after every message and now and then while none comes.
bool HandleMessagesUntil(const std::function<bool()>& Done, int TimeoutMs);
// Handles every message that is waiting, then returns.
void HandleWaitingMessages();
