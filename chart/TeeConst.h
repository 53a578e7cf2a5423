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

// Message texts; those with %d or %s are filled with FormatTeeMsg.
inline constexpr const char* TeeMsg_3DPercent = "3D effect percent must be between %d and %d";
inline constexpr const char* TeeMsg_MaxPointsPerPage = "MaxPointsPerPage must be >= 0";
inline constexpr const char* TeeMsg_AxisIncrement = "Axis increment must be >= 0";
inline constexpr const char* TeeMsg_AxisMinimum = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* TeeMsg_AxisMaximum = "Axis Maximum Value must be >= Minimum";
inline constexpr const char* TeeMsg_AxisLabelSep = "Labels Separation % must be greater than 0";
inline constexpr const char* TeeMsg_AxisLogBase = "Axis Logarithmic Base should be >= 2";
inline constexpr const char* TeeMsg_AxisLogDateTime = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* TeeMsg_AxisLogNotPositive = "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* TeeMsg_AngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* TeeMsg_PointerSize = "Pointer size must be greater than zero";
inline constexpr const char* TeeMsg_LegendTopPos = "Top Legend Position must be between 0 and 100 %";
inline constexpr const char* TeeMsg_LegendFirstValue = "First Legend Value must be > 0";
inline constexpr const char* TeeMsg_LegendColorWidth = "Legend Color Width must be between 0 and 100 %";

// printf-style filling of a message text (only %d and %s occur in the table).
template <class... TArgs>
std::string FormatTeeMsg(const char* Format, TArgs... Args)
{
    const int n = std::snprintf(nullptr, 0, Format, Args...);
    std::string s(n > 0 ? std::size_t(n) : 0, '\0');
    if (n > 0)
        std::snprintf(s.data(), s.size() + 1, Format, Args...);
    return s;
}
