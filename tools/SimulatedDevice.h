#pragma once
// A stand-in for the device under test, for trying the station without hardware. It picks the
// station's 8-byte test frames out of the bytes it receives and answers each command with one
// block whose last byte is the low 8 bits of the sum of the bytes before it:
//
//   1 KEYPAD  four key codes, one per sample ("1", "2", "3", "#")
//   2 MIC     a sine burst that swells and fades, Samples samples
//   3 ALERT   a square wave of eight half-periods, Samples samples
//   4 SIM     the card's identifier as ASCII digits
//   5 SD      a ramp from 0 to full scale, Samples samples
//   6 RESET   "OK"
//
// Bytes that cannot start a frame, and frames whose sync, code, zero bytes or checksum are
// wrong, are reported rather than answered.
//
// Threading: one object per simulated device, used by one thread.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

using TBytes = std::vector<std::uint8_t>;

struct TScanEvent {
    enum class TKind {
        Frame,    // a good frame: answer Code
        BadFrame, // AA 55 and six more bytes that are no frame: Bytes holds them
        Skipped,  // Bytes could not start a frame (no AA 55 sync)
    };
    TKind Kind;
    std::uint8_t Code = 0;
    TBytes Bytes;
};

// Finds test frames in a byte stream fed in pieces.
class TFrameScanner {
public:
    // Takes the next received bytes; gives what they completed, in order. A run of skipped
    // bytes is one event, given at the next sync or when the bytes received so far run out.
    std::vector<TScanEvent> Feed(const std::uint8_t* Data, std::size_t Length);

private:
    TBytes FPending;
    TBytes FSkipped;
};

// The answer to Code (see above; Samples applies to MIC, ALERT and SD). With Corrupt the
// checksum is off by one, to show the station's failure indication. Unknown codes get an
// empty answer.
TBytes BuildResponse(std::uint8_t Code, int Samples, bool Corrupt);

std::uint8_t Checksum(const std::uint8_t* Data, std::size_t Length);

} // namespace sim
