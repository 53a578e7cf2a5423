#include "platform/SerialDevice.h"

namespace platform {

bool ComPortNumber(const std::string& Name, unsigned& Number)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (Name.size() < 4 || Name.size() > 6 || lower(Name[0]) != 'c' || lower(Name[1]) != 'o' ||
        lower(Name[2]) != 'm' || Name[3] == '0')
        return false;
    Number = 0;
    for (std::size_t i = 3; i < Name.size(); ++i) {
        if (Name[i] < '0' || Name[i] > '9')
            return false;
        Number = Number * 10 + static_cast<unsigned>(Name[i] - '0');
    }
    return Number >= 1 && Number <= 256;
}

} // namespace platform
