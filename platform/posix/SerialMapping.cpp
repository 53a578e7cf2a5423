// Linux terminal settings for a device control block; see the table in SerialMapping.h.
#include "platform/posix/SerialMapping.h"

#include <sys/ioctl.h>

namespace platform {

namespace {

// Rates with a constant of their own keep it, so that programs reading the line with the
// classic interface see the rate; any other rate goes through BOTHER.
tcflag_t SpeedCode(uint32_t Rate)
{
    static const struct {
        uint32_t Rate;
        tcflag_t Code;
    } codes[] = {{50, B50},          {75, B75},          {110, B110},        {134, B134},
                 {150, B150},        {200, B200},        {300, B300},        {600, B600},
                 {1200, B1200},      {1800, B1800},      {2400, B2400},      {4800, B4800},
                 {9600, B9600},      {19200, B19200},    {38400, B38400},    {57600, B57600},
                 {115200, B115200},  {230400, B230400},  {460800, B460800},  {500000, B500000},
                 {576000, B576000},  {921600, B921600},  {1000000, B1000000},
                 {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
                 {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000},
                 {4000000, B4000000}};
    for (const auto& c : codes)
        if (c.Rate == Rate)
            return c.Code;
    return BOTHER;
}

} // namespace

bool DcbToTermios(const TDcb& Dcb, termios2& T)
{
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    static const tcflag_t parities[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                        PARENB | CMSPAR};
    if (Dcb.BaudRate == 0 || Dcb.ByteSize < 5 || Dcb.ByteSize > 8 ||
        Dcb.Parity > DcbParity::Space || Dcb.StopBits > DcbStopBits::Two)
        return false;

    const uint32_t rts = (Dcb.Flags & DcbFlag::RtsControlMask) >> DcbFlag::RtsControlShift;
    MakeRaw(T);
    T.c_iflag &= ~(IXON | IXOFF | INPCK);
    T.c_iflag |= (Dcb.Flags & DcbFlag::ErrorChar ? INPCK | PARMRK : 0) |
                 (Dcb.Flags & DcbFlag::OutX ? IXON : 0) | (Dcb.Flags & DcbFlag::InX ? IXOFF : 0);
    T.c_cflag &= ~(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    const tcflag_t speed = SpeedCode(Dcb.BaudRate);
    T.c_cflag |= speed | (speed << IBSHIFT) | sizes[Dcb.ByteSize - 5] |
                 parities[Dcb.Parity] | (Dcb.StopBits != DcbStopBits::One ? CSTOPB : 0) |
                 ((Dcb.Flags & DcbFlag::OutxCtsFlow) || rts == 2 ? CRTSCTS : 0);
    T.c_ispeed = Dcb.BaudRate;
    T.c_ospeed = Dcb.BaudRate;
    T.c_cc[VSTART] = static_cast<cc_t>(Dcb.XonChar);
    T.c_cc[VSTOP] = static_cast<cc_t>(Dcb.XoffChar);
    return true;
}

void MakeRaw(termios2& T)
{
    T.c_iflag &= ~(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | IGNPAR);
    T.c_iflag |= IGNBRK;
    T.c_oflag &= ~OPOST;
    T.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    T.c_cflag |= CREAD | CLOCAL;
    T.c_cc[VMIN] = 1;
    T.c_cc[VTIME] = 0;
}

TDcb TermiosToDcb(const termios2& T)
{
    TDcb dcb;
    dcb.BaudRate = T.c_ospeed;
    switch (T.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    if (T.c_cflag & PARENB) {
        const bool odd = T.c_cflag & PARODD;
        if (T.c_cflag & CMSPAR)
            dcb.Parity = odd ? DcbParity::Mark : DcbParity::Space;
        else
            dcb.Parity = odd ? DcbParity::Odd : DcbParity::Even;
    }
    dcb.StopBits = T.c_cflag & CSTOPB ? DcbStopBits::Two : DcbStopBits::One;
    const bool marked = (T.c_iflag & (INPCK | PARMRK)) == (INPCK | PARMRK);
    dcb.Flags = DcbFlag::Binary | (T.c_iflag & INPCK ? DcbFlag::Parity : 0) |
                (marked ? DcbFlag::ErrorChar : 0) |
                (T.c_iflag & IXON ? DcbFlag::OutX : 0) | (T.c_iflag & IXOFF ? DcbFlag::InX : 0) |
                (T.c_cflag & CRTSCTS ? DcbFlag::OutxCtsFlow : 0);
    dcb.XonChar = static_cast<char>(T.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(T.c_cc[VSTOP]);
    return dcb;
}

void DcbModemLines(const TDcb& Dcb, int& Set, int& Clear)
{
    const uint32_t dtr = (Dcb.Flags & DcbFlag::DtrControlMask) >> DcbFlag::DtrControlShift;
    const uint32_t rts = (Dcb.Flags & DcbFlag::RtsControlMask) >> DcbFlag::RtsControlShift;
    Set = 0;
    Clear = 0;
    (dtr == 0 ? Clear : Set) |= TIOCM_DTR;
    if (rts == 0)
        Clear |= TIOCM_RTS;
    else if (rts != 2)
        Set |= TIOCM_RTS;
}

std::size_t TMarkDecoder::Decode(uint8_t* Bytes, std::size_t Count, uint8_t Replacement)
{
    std::size_t out = 0;
    for (std::size_t in = 0; in < Count; ++in) {
        const uint8_t b = Bytes[in];
        if (FMarked == 0) {
            if (b == 0xFF)
                FMarked = 1;
            else
                Bytes[out++] = b;
        } else if (FMarked == 1) {
            // The line follows a mark with 0xFF or 0 only.
            FMarked = b == 0 ? 2 : 0;
            if (b != 0)
                Bytes[out++] = b;
        } else {
            FMarked = 0;
            Bytes[out++] = Replacement;
        }
    }
    return out;
}

} // namespace platform
