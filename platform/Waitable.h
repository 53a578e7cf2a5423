#pragma once
// The OS object behind the handle of every event and message queue: a flag that any thread
// raises or lowers and that WaitForAny sleeps on. Each OS implements these four beside its
// WaitForAny; events and queues are built on them once, in platform/Sync.cpp.

#include <cstdint>

namespace platform::waitable {

// Lowered at first. Throws std::system_error when the platform has none left to give.
intptr_t Create();
void Raise(intptr_t Handle);
void Lower(intptr_t Handle);
void Destroy(intptr_t Handle);

} // namespace platform::waitable
