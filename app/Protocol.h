#pragma once
// The station's side of the test protocol, as pure operations over bytes: the command frames
// that go out, and the checks and decoding of every block that comes back. The window's
// handlers call these and nothing else touches the protocol, so the whole of it can be tried
// without a port or a window.
//
// Rules that the device relies on:
// - A frame is AA 55, a command code 1 to 6, four zero bytes and the low 8 bits of the sum
//   of the seven bytes before it.
// - A block's last byte is the low 8 bits of the sum of all the bytes before it (a single
//   byte is checked against the sum of nothing, 0).
// - A block's bytes are read in pairs as 16-bit samples, first byte high; an odd last byte
//   belongs to no sample.
// - A frame goes out one byte per SendData call, and stops at the first byte refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using TTestFrame = std::array<std::uint8_t, 8>;

constexpr int TestCommandCount = 6;

// The frame of a command code 1 to 6.
TTestFrame BuildTestFrame(std::uint8_t Code);

// Two uppercase hex digits per byte, nothing between them.
std::string ResponseHexText(const std::uint8_t* Data, std::size_t Length);

bool ResponseChecksumOk(const std::uint8_t* Data, std::size_t Length);

// Length / 2 samples, each 0 to 65535.
std::vector<std::int32_t> DecodeSamples(const std::uint8_t* Data, std::size_t Length);

// Hands Frame to Port.SendData a byte at a time; true when all eight were accepted. Port is
// the serial component or anything with its SendData(const void*, uint16_t) -> bool.
template <class TPort>
bool SendTestFrame(TPort& Port, const TTestFrame& Frame)
{
    for (const std::uint8_t& byte : Frame)
        if (!Port.SendData(&byte, 1))
            return false;
    return true;
}

// The packet counter after Count: one more, wrapping from 2147483647 to -2147483648 as a
// 32-bit signed counter does, so that a station left running for 2^31 blocks goes on counting
// instead of overflowing.
constexpr std::int32_t NextPacketCount(std::int32_t Count)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Count) + 1u);
}
