// The chart's number formatter with any pattern and any value: the first eight bytes are the
// value's bits (NaN, infinities and denormals included), the rest the pattern.
#include "chart/TeeFormat.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size < sizeof(double))
        return 0;
    double value;
    std::memcpy(&value, Data, sizeof value);
    const std::string_view pattern(reinterpret_cast<const char*>(Data) + sizeof value,
                                   Size - sizeof value);
    static const TNumberSeparators separators[] = {{",", "."}, {".", ","}, {"\u00a0", "\u066b"}};
    for (const TNumberSeparators& s : separators)
        FormatFloat(pattern, value, s);
    return 0;
}
