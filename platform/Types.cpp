#include "platform/Types.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace platform {

int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(Number) * Numerator;
    std::int64_t quotient = product / Denominator;
    const std::int64_t remainder = product % Denominator;
    if (2 * std::llabs(remainder) >= std::llabs(Denominator))
        quotient += ((product < 0) != (Denominator < 0)) ? -1 : 1;
    if (quotient > INT_MAX || quotient < INT_MIN)
        return -1;
    return int(quotient);
}

} // namespace platform
