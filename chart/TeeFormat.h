#pragma once
// Numbers as the chart shows them: picture patterns such as "#,##0.###" applied by the rules
// of the platform's number formatting, with the user's thousands and decimal separators.
// Axis labels and legend texts both go through here.
//
// Pattern characters: '0' a digit that is always shown, '#' a digit shown only when
// significant, '.' the place of the decimal separator, ',' anywhere before it asks for
// groups of three. Text in single or double quotes, and any other character, is copied: what
// stands before the first digit placeholder goes before the number, the rest after it.
//
// The value is first taken to 15 significant digits (what a double holds reliably), then
// rounded half away from zero to the pattern's decimals, so 0.1 + 0.2 shows as 0.3 and 1.0005
// with three decimals as 1.001. A value that rounds to zero carries no minus sign.
//
// Threading: pure functions; LocaleSeparators is read once and shared read-only.

#include "platform/LocaleFormat.h"

#include <string>
#include <string_view>

using TNumberSeparators = platform::TNumberSeparators;

// The pattern of axis labels and of the legend's values.
inline constexpr std::string_view DefaultValueFormat = "#,##0.###";

// The user's separators, read from the locale once, on the first call.
const TNumberSeparators& LocaleSeparators();

std::string FormatFloat(std::string_view Pattern, double Value, const TNumberSeparators& Separators);

inline std::string FormatFloat(std::string_view Pattern, double Value)
{
    return FormatFloat(Pattern, Value, LocaleSeparators());
}
