// scripts/test-windows.sh runs this once for each locale of the table (Wine takes the user's
// locale from LC_ALL); under any other locale there is nothing to compare with.
#include "platform/LocaleFormat.h"
#include "platform/win32/Windows.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

TEST(UserNumberSeparators, AreTheUserLocalesInUtf8)
{
    const struct {
        const wchar_t* Locale;
        const char* Thousand;
        const char* Decimal;
    } cases[] = {
        {L"en-US", ",", "."},
        {L"de-DE", ".", ","},
        {L"de-CH", "\xE2\x80\x99", "."}, // a right single quotation mark, U+2019
    };
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    for (const auto& c : cases) {
        if (std::wstring(name) != c.Locale)
            continue;
        EXPECT_EQ(UserNumberSeparators().Thousand, c.Thousand);
        EXPECT_EQ(UserNumberSeparators().Decimal, c.Decimal);
        return;
    }
    GTEST_SKIP() << "no separators known for this locale";
}
