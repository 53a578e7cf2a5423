#pragma once
// A stand-in for the device under test: recognises the station's 8-byte test frames in the
// bytes it receives and answers each with one block of samples whose last byte is the low 8
// bits of the sum of the bytes before it.
//
// Threading: one object per simulated device, used by one thread.

#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

using TBytes = std::vector<std::uint8_t>;

// Finds test frames (AA 55 code 00 00 00 00 checksum) in a byte stream fed in pieces.
class TFrameScanner {
public:
    // Takes the next received bytes; gives the command codes of the frames completed by them,
    // in order. Bytes that cannot start a frame are skipped.
    std::vector<std::uint8_t> Feed(const std::uint8_t* Data, std::size_t Length);

private:
    TBytes FPending;
};

// The answer to a command code: Samples 16-bit samples (first byte high) and the checksum.
// With Corrupt the checksum is off by one, for trying out the station's failure indication.
TBytes BuildResponse(std::uint8_t Code, int Samples, bool Corrupt);

std::uint8_t Checksum(const std::uint8_t* Data, std::size_t Length);

} // namespace sim
