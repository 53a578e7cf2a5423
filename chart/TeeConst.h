#pragma once
// The chart's own exception classes and the texts of its string table. A setter that rejects a
// value raises one of these and keeps the old value.

#include "framework/SysUtils.h"

#include <cstdio>
#include <string>

class ChartException : public Exception {
public:
    using Exception::Exception;
};

class AxisException : public Exception {
public:
    using Exception::Exception;
};

class LegendException : public Exception {
public:
    using Exception::Exception;
};

// Message texts; those with %d or %s are filled with FormatMessage.
inline constexpr const char* TeeMsg_3DPercent = "3D effect percent must be between %d and %d";
inline constexpr const char* TeeMsg_MaxPointsPerPage = "MaxPointsPerPage must be >= 0";

// printf-style filling of a message text (only %d and %s occur in the table).
template <class... TArgs>
std::string FormatMessage(const char* Format, TArgs... Args)
{
    const int n = std::snprintf(nullptr, 0, Format, Args...);
    std::string s(n > 0 ? std::size_t(n) : 0, '\0');
    if (n > 0)
        std::snprintf(s.data(), s.size() + 1, Format, Args...);
    return s;
}
