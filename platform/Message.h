#pragma once
// A message that one thread hands to another: a code, two numbers and, for data, a heap block
// that changes owner with the message. Whoever holds the message last frees the block, so a
// message that is dropped or cannot be posted frees it too.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

using THeapBlock = std::unique_ptr<uint8_t[]>;

// Count + 1 zero-filled bytes, so that data copied into the first Count bytes is followed by a
// 0 byte; null when the heap is exhausted.
THeapBlock AllocBlock(std::size_t Count);

// Capacity + 1 bytes left as they are, for a reader that fills them itself and then writes the
// 0 byte after what it got; null when the heap is exhausted.
THeapBlock AllocUnfilledBlock(std::size_t Capacity);

struct TMessage {
    uint32_t Code = 0;
    uint32_t WParam = 0;
    uint32_t LParam = 0;
    THeapBlock Block;
};

} // namespace platform
