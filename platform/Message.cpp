// The heap blocks that travel with messages between threads.
#include "platform/Message.h"

#include <new>

namespace platform {

THeapBlock AllocBlock(std::size_t Count)
{
    return THeapBlock(new (std::nothrow) uint8_t[Count + 1]());
}

} // namespace platform
