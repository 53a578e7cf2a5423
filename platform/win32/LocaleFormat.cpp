// Reads the user's number separators from the user's default locale, as the control panel's
// regional settings give them (a user may have set separators of their own there).
#include "platform/LocaleFormat.h"
#include "platform/win32/Text.h"

namespace platform {

namespace {

// The locale's value of Item; empty when the locale names none or cannot be read.
std::string LocaleText(LCTYPE Item)
{
    wchar_t wide[LOCALE_NAME_MAX_LENGTH];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Item, wide, LOCALE_NAME_MAX_LENGTH);
    // The count includes the terminating 0; 0 is a failure.
    return length > 1 ? win32::Utf8Of({wide, std::size_t(length - 1)}) : std::string();
}

} // namespace

TNumberSeparators ReadNumberSeparators()
{
    return {LocaleText(LOCALE_STHOUSAND), LocaleText(LOCALE_SDECIMAL)};
}

} // namespace platform
