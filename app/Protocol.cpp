#include "app/Protocol.h"

namespace {
// Wide enough for 2047 bytes of 255: the sum never wraps before its low 8 bits are taken.
std::uint8_t LowByteOfSum(const std::uint8_t* Data, std::size_t Length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < Length; ++i)
        sum += Data[i];
    return std::uint8_t(sum & 0xFF);
}
} // namespace

TTestFrame BuildTestFrame(std::uint8_t Code)
{
    TTestFrame frame{0xAA, 0x55, Code, 0, 0, 0, 0, 0};
    frame[7] = LowByteOfSum(frame.data(), 7);
    return frame;
}

std::string ResponseHexText(const std::uint8_t* Data, std::size_t Length)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * Length);
    for (std::size_t i = 0; i < Length; ++i) {
        text += kDigits[Data[i] >> 4];
        text += kDigits[Data[i] & 0x0F];
    }
    return text;
}

bool ResponseChecksumOk(const std::uint8_t* Data, std::size_t Length)
{
    if (Length == 0)
        return false; // the receive path never delivers one; an empty block has no checksum
    return LowByteOfSum(Data, Length - 1) == Data[Length - 1];
}

std::vector<std::int32_t> DecodeSamples(const std::uint8_t* Data, std::size_t Length)
{
    std::vector<std::int32_t> samples(Length / 2);
    for (std::size_t k = 0; k < samples.size(); ++k)
        samples[k] = Data[2 * k] * 256 + Data[2 * k + 1];
    return samples;
}
