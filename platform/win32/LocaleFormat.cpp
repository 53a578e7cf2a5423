// Reads the user's number separators from the user's default locale, as the control panel's
// regional settings give them (a user may have set separators of their own there).
#include "platform/LocaleFormat.h"
#include "platform/win32/Windows.h"

namespace platform {

namespace {

// The locale's value of Item as UTF-8; empty when the locale names none or cannot be read.
std::string LocaleText(LCTYPE Item)
{
    wchar_t wide[LOCALE_NAME_MAX_LENGTH];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Item, wide, LOCALE_NAME_MAX_LENGTH);
    if (length <= 1) // the count includes the terminating 0
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length - 1, nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length - 1, text.data(), bytes, nullptr, nullptr);
    return text;
}

TNumberSeparators ReadSeparators()
{
    TNumberSeparators s;
    // A locale that names no separator keeps the classic one rather than run digits together.
    if (std::string group = LocaleText(LOCALE_STHOUSAND); !group.empty())
        s.Thousand = std::move(group);
    if (std::string decimal = LocaleText(LOCALE_SDECIMAL); !decimal.empty())
        s.Decimal = std::move(decimal);
    return s;
}

} // namespace

const TNumberSeparators& UserNumberSeparators()
{
    static const TNumberSeparators separators = ReadSeparators();
    return separators;
}

} // namespace platform
