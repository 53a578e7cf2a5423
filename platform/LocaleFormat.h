#pragma once
// The user's number-formatting conventions, as the platform reports them.
//
// Threading: any thread; the answer does not change while the program runs.

#include <string>

namespace platform {

struct TNumberSeparators {
    std::string Thousand = ","; // UTF-8
    std::string Decimal = ".";  // UTF-8
};

// The separators of the user's locale, read from the platform on the first call and kept
// for the rest of the run: a locale change while the program runs is not followed.
const TNumberSeparators& UserNumberSeparators();

// Each backend's own reading of the separators, for UserNumberSeparators: a text the locale
// does not name is left empty.
TNumberSeparators ReadNumberSeparators();

} // namespace platform
