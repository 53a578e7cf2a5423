#include "platform/LocaleFormat.h"

namespace platform {

namespace {

TNumberSeparators Separators()
{
    TNumberSeparators s;
    TNumberSeparators read = ReadNumberSeparators();
    // A locale that names no separator keeps the classic one rather than run digits together.
    if (!read.Thousand.empty())
        s.Thousand = std::move(read.Thousand);
    if (!read.Decimal.empty())
        s.Decimal = std::move(read.Decimal);
    return s;
}

} // namespace

const TNumberSeparators& UserNumberSeparators()
{
    static const TNumberSeparators separators = Separators();
    return separators;
}

} // namespace platform
