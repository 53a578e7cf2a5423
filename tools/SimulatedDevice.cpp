#include "tools/SimulatedDevice.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace sim {

namespace {

constexpr std::size_t kFrameLength = 8;

bool IsFrame(const std::uint8_t* f)
{
    return f[0] == 0xAA && f[1] == 0x55 && f[2] >= 1 && f[2] <= 6 && f[3] == 0 && f[4] == 0 &&
           f[5] == 0 && f[6] == 0 && f[7] == Checksum(f, 7);
}

// A sync, or the first half of one that the next bytes may complete.
bool StartsSync(const TBytes& Bytes, std::size_t Pos)
{
    return Bytes[Pos] == 0xAA && (Pos + 1 == Bytes.size() || Bytes[Pos + 1] == 0x55);
}

void PutSample(TBytes& Block, int Value)
{
    const int v = std::clamp(Value, 0, 65535);
    Block.push_back(std::uint8_t(v >> 8));
    Block.push_back(std::uint8_t(v & 0xFF));
}

void PutText(TBytes& Block, std::string_view Text)
{
    Block.insert(Block.end(), Text.begin(), Text.end());
}

TBytes Payload(std::uint8_t Code, int Samples)
{
    TBytes block;
    const int n = std::max(Samples, 1);
    constexpr double pi = std::numbers::pi;
    switch (Code) {
    case 1:
        for (char key : {'1', '2', '3', '#'})
            PutSample(block, key);
        break;
    case 2:
        for (int k = 0; k < Samples; ++k) {
            const double t = double(k) / n;
            PutSample(block, int(std::lround(32768 + 28000 * std::sin(pi * t) *
                                                         std::sin(2 * pi * 12 * t))));
        }
        break;
    case 3:
        for (int k = 0; k < Samples; ++k)
            PutSample(block, (k * 8 / n) % 2 ? 12000 : 52000);
        break;
    case 4: PutText(block, "89550310000123456789"); break; // a Brazilian card's ICCID
    case 5:
        for (int k = 0; k < Samples; ++k)
            PutSample(block, int(std::lround(65535.0 * k / n)));
        break;
    case 6: PutText(block, "OK"); break;
    default: return {};
    }
    return block;
}

} // namespace

std::uint8_t Checksum(const std::uint8_t* Data, std::size_t Length)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < Length; ++i)
        sum += Data[i];
    return std::uint8_t(sum & 0xFF);
}

std::vector<TScanEvent> TFrameScanner::Feed(const std::uint8_t* Data, std::size_t Length)
{
    std::vector<TScanEvent> events;
    FPending.insert(FPending.end(), Data, Data + Length);
    const auto flushSkipped = [&] {
        if (!FSkipped.empty())
            events.push_back({TScanEvent::TKind::Skipped, 0, std::move(FSkipped)});
        FSkipped.clear();
    };
    std::size_t pos = 0;
    while (pos < FPending.size()) {
        if (!StartsSync(FPending, pos)) {
            FSkipped.push_back(FPending[pos++]);
            continue;
        }
        if (FPending.size() - pos < kFrameLength)
            break; // wait for the rest of the frame
        flushSkipped();
        const auto first = FPending.begin() + std::ptrdiff_t(pos);
        if (IsFrame(&FPending[pos]))
            events.push_back({TScanEvent::TKind::Frame, FPending[pos + 2], {}});
        else
            events.push_back({TScanEvent::TKind::BadFrame, 0, TBytes(first, first + kFrameLength)});
        pos += kFrameLength;
    }
    FPending.erase(FPending.begin(), FPending.begin() + std::ptrdiff_t(pos));
    if (FPending.empty())
        flushSkipped();
    return events;
}

TBytes BuildResponse(std::uint8_t Code, int Samples, bool Corrupt)
{
    TBytes block = Payload(Code, Samples);
    if (block.empty())
        return block;
    block.push_back(std::uint8_t(Checksum(block.data(), block.size()) + (Corrupt ? 1 : 0)));
    return block;
}

} // namespace sim
