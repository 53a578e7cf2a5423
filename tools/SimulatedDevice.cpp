#include "tools/SimulatedDevice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {
constexpr std::size_t kFrameLength = 8;

bool IsFrame(const std::uint8_t* f)
{
    return f[0] == 0xAA && f[1] == 0x55 && f[2] >= 1 && f[2] <= 6 && f[3] == 0 && f[4] == 0 &&
           f[5] == 0 && f[6] == 0 && f[7] == Checksum(f, 7);
}

// One waveform per test, so that the operator can tell the answers apart on the chart.
int Sample(std::uint8_t code, int k, int n)
{
    const double t = double(k) / n;
    switch (code) {
    case 1: return int(32768 + 20000 * std::sin(2 * std::numbers::pi * 2 * t));
    case 2:
        return int(32768 + 12000 * std::sin(2 * std::numbers::pi * 3 * t) +
                   6000 * std::sin(2 * std::numbers::pi * 17 * t));
    case 3: return (k / (n / 8 > 0 ? n / 8 : 1)) % 2 ? 50000 : 15000;
    case 4: return int(65535 * t);
    case 5: return int(t < 0.5 ? 2 * t * 60000 : (1 - t) * 2 * 60000);
    default: return 0;
    }
}
} // namespace

std::uint8_t Checksum(const std::uint8_t* Data, std::size_t Length)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < Length; ++i)
        sum += Data[i];
    return std::uint8_t(sum & 0xFF);
}

std::vector<std::uint8_t> TFrameScanner::Feed(const std::uint8_t* Data, std::size_t Length)
{
    std::vector<std::uint8_t> codes;
    FPending.insert(FPending.end(), Data, Data + Length);
    std::size_t pos = 0;
    while (FPending.size() - pos >= kFrameLength) {
        if (IsFrame(&FPending[pos])) {
            codes.push_back(FPending[pos + 2]);
            pos += kFrameLength;
        } else {
            ++pos;
        }
    }
    FPending.erase(FPending.begin(), FPending.begin() + std::ptrdiff_t(pos));
    return codes;
}

TBytes BuildResponse(std::uint8_t Code, int Samples, bool Corrupt)
{
    TBytes block;
    block.reserve(std::size_t(Samples) * 2 + 1);
    for (int k = 0; k < Samples; ++k) {
        const int v = std::clamp(Sample(Code, k, Samples), 0, 65535);
        block.push_back(std::uint8_t(v >> 8));
        block.push_back(std::uint8_t(v & 0xFF));
    }
    block.push_back(std::uint8_t(Checksum(block.data(), block.size()) + (Corrupt ? 1 : 0)));
    return block;
}

} // namespace sim
