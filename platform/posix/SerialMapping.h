#pragma once
// How a device control block becomes Linux terminal settings. Pure functions, so that every
// field's translation can be checked without a port.
//
// | Block field                     | termios2 / modem lines                                   |
// |---------------------------------|----------------------------------------------------------|
// | BaudRate (any, 0 rejected)      | c_ispeed = c_ospeed = BaudRate; CBAUD = its B constant,  |
// |                                 | or BOTHER for rates without one (1228800, 16550...)      |
// | ByteSize 5, 6, 7, 8 (else rej.) | CS5, CS6, CS7, CS8                                        |
// | Parity none, odd, even          | -, PARENB | PARODD, PARENB                               |
// | Parity mark, space (else rej.)  | PARENB | CMSPAR | PARODD, PARENB | CMSPAR                |
// | StopBits 1, 1.5, 2 (else rej.)  | -, CSTOPB, CSTOPB (termios has no 1.5: it becomes 2)      |
// | fParity                         | nothing: bytes with parity or framing errors arrive as    |
// |                                 | received (INPCK would turn them into 0), and the driver's |
// |                                 | counters report the errors all the same                   |
// | fErrorChar                      | INPCK | PARMRK: the line marks each byte received with a  |
// |                                 | parity or framing error, and the reader (TMarkDecoder)    |
// |                                 | puts ErrorChar in its place                               |
// | fOutxCtsFlow, RTS handshake     | CRTSCTS                                                   |
// | fOutX, fInX                     | IXON, IXOFF                                               |
// | XonChar, XoffChar               | c_cc[VSTART], c_cc[VSTOP]                                 |
// | DTR control off, on, handshake  | DTR line off, on, on (termios has no DTR handshake)       |
// | RTS control off, on, hs, toggle | RTS line off, on, left to CRTSCTS, on                     |
// | everything else                 | nothing: kept in the stored block only                   |
// | always                          | raw bytes: no echo, canonical input, signals or output    |
// |                                 | processing; CREAD, CLOCAL; VMIN 1, VTIME 0 (so an empty   |
// |                                 | line reads as "would block", never as end of file);       |
// |                                 | IGNBRK, so a break is no 0 byte in the data but only a     |
// |                                 | count the receive thread reports                          |
//
// A rejected block changes nothing, as a port that refuses a setting keeps its old one.

#include "platform/SerialDevice.h"

#include <asm/termbits.h>

#include <cstddef>
#include <cstdint>

namespace platform {

// Fills T from Dcb, keeping T's other settings. False (T untouched) when the block holds a
// value that has no line setting.
bool DcbToTermios(const TDcb& Dcb, termios2& T);

// The "always" row of the table alone: what opening sets, so that the bytes pass raw even
// when the port later refuses a block.
void MakeRaw(termios2& T);

// The block that describes T, for a port that has not been configured yet.
TDcb TermiosToDcb(const termios2& T);

// TIOCM_DTR and TIOCM_RTS bits to raise (Set) and to drop (Clear).
void DcbModemLines(const TDcb& Dcb, int& Set, int& Clear);

// Undoes the marking that PARMRK puts into the byte stream: 0xFF 0xFF is a 0xFF received, and
// 0xFF 0x00 c is a byte c received with a parity or framing error, which becomes Replacement.
// A sequence split between two reads is finished by the next one. Nothing else is marked: with
// IGNBRK set a break never enters the stream.
class TMarkDecoder {
public:
    // Decodes Count bytes in place; answers how many bytes they leave.
    std::size_t Decode(uint8_t* Bytes, std::size_t Count, uint8_t Replacement);

private:
    int FMarked = 0; // bytes of an unfinished sequence already seen: 0, 1 (0xFF) or 2 (0xFF 0)
};

} // namespace platform
