#include "chart/TeeFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct TPattern {
    std::string Prefix;
    std::string Suffix;
    int MinIntDigits = 0;
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Grouping = false;
};

TPattern ParsePattern(std::string_view p)
{
    TPattern r;
    bool afterPoint = false;
    std::string* literal = &r.Prefix;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '\'' || c == '"') {
            const std::size_t end = p.find(c, i + 1);
            const std::size_t stop = end == std::string_view::npos ? p.size() : end;
            literal->append(p.substr(i + 1, stop - i - 1));
            i = stop;
        } else if (c == '0' || c == '#') {
            literal = &r.Suffix;
            if (afterPoint) {
                ++r.MaxDecimals;
                if (c == '0')
                    r.MinDecimals = r.MaxDecimals;
            } else if (c == '0') {
                ++r.MinIntDigits;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
            literal = &r.Suffix;
        } else if (c == ',' && !afterPoint) {
            r.Grouping = true;
        } else {
            literal->push_back(c);
        }
    }
    return r;
}

// |Value| as decimal digits without leading zeros and the position of the decimal point
// within them, rounded half away from zero to Decimals places after 15 significant digits.
struct TDigits {
    std::string Digits; // may be empty for zero
    int Point = 0;      // digits before the decimal point; may be negative or exceed the size
};

TDigits RoundedDigits(double Value, int Decimals)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(Value));
    // buf is d.dddddddddddddde[+-]xx
    TDigits r;
    r.Digits.push_back(buf[0]);
    r.Digits.append(buf + 2, 14);
    r.Point = std::atoi(buf + 17) + 1;
    const int keep = r.Point + Decimals;
    if (keep < 0) {
        return {};
    }
    if (keep < static_cast<int>(r.Digits.size())) {
        const bool up = r.Digits[static_cast<std::size_t>(keep)] >= '5';
        r.Digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && r.Digits[static_cast<std::size_t>(i)] == '9') {
                r.Digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++r.Digits[static_cast<std::size_t>(i)];
            } else {
                r.Digits.insert(r.Digits.begin(), '1');
                ++r.Point;
            }
        }
    }
    const std::size_t nz = r.Digits.find_last_not_of('0');
    r.Digits.resize(nz == std::string::npos ? 0 : nz + 1);
    if (r.Digits.empty())
        r.Point = 0;
    return r;
}

} // namespace

const TNumberSeparators& LocaleSeparators()
{
    return platform::UserNumberSeparators();
}

std::string FormatFloat(std::string_view Pattern, double Value, const TNumberSeparators& Separators)
{
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value < 0 ? "-INF" : "INF";

    const TPattern pat = ParsePattern(Pattern);
    const TDigits d = RoundedDigits(Value, pat.MaxDecimals);
    const auto digitAt = [&d](int pos) {
        return pos >= 0 && pos < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<std::size_t>(pos)] : '0';
    };

    std::string intDigits;
    for (int pos = 0; pos < d.Point; ++pos)
        intDigits.push_back(digitAt(pos));
    if (static_cast<int>(intDigits.size()) < pat.MinIntDigits)
        intDigits.insert(0, static_cast<std::size_t>(pat.MinIntDigits) - intDigits.size(), '0');

    std::string decimals;
    for (int k = 0; k < pat.MaxDecimals; ++k)
        decimals.push_back(digitAt(d.Point + k));
    while (static_cast<int>(decimals.size()) > pat.MinDecimals && decimals.back() == '0')
        decimals.pop_back();

    std::string out;
    if (Value < 0 && !d.Digits.empty())
        out.push_back('-');
    out += pat.Prefix;
    const std::size_t n = intDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (pat.Grouping && i > 0 && (n - i) % 3 == 0)
            out += Separators.Thousand;
        out.push_back(intDigits[i]);
    }
    if (!decimals.empty()) {
        out += Separators.Decimal;
        out += decimals;
    }
    out += pat.Suffix;
    return out;
}
