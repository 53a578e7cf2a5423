// The heap blocks that travel with messages between threads.
#include "platform/Message.h"

#include <new>

namespace platform {

THeapBlock AllocBlock(std::size_t Count)
{
    return THeapBlock(new (std::nothrow) uint8_t[Count + 1]());
}

THeapBlock AllocUnfilledBlock(std::size_t Capacity)
{
    return THeapBlock(new (std::nothrow) uint8_t[Capacity + 1]);
}

} // namespace platform
