// Linux terminal settings for a device control block; see the table in SerialMapping.h.
#include "platform/posix/SerialMapping.h"

#include <sys/ioctl.h>

bool DcbToTermios(const TDcb& Dcb, termios2& T)
{
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    static const tcflag_t parities[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                        PARENB | CMSPAR};
    if (Dcb.BaudRate == 0 || Dcb.ByteSize < 5 || Dcb.ByteSize > 8 ||
        Dcb.Parity > DcbParity::Space || Dcb.StopBits > DcbStopBits::Two)
        return false;

    const uint32_t rts = (Dcb.Flags & DcbFlag::RtsControlMask) >> DcbFlag::RtsControlShift;
    T.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                   IXANY | INPCK | IGNPAR);
    T.c_iflag |= (Dcb.Flags & DcbFlag::Parity ? INPCK : 0) |
                 (Dcb.Flags & DcbFlag::OutX ? IXON : 0) | (Dcb.Flags & DcbFlag::InX ? IXOFF : 0);
    T.c_oflag &= ~OPOST;
    T.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    T.c_cflag &= ~(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    T.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | CREAD | CLOCAL | sizes[Dcb.ByteSize - 5] |
                 parities[Dcb.Parity] | (Dcb.StopBits != DcbStopBits::One ? CSTOPB : 0) |
                 ((Dcb.Flags & DcbFlag::OutxCtsFlow) || rts == 2 ? CRTSCTS : 0);
    T.c_ispeed = Dcb.BaudRate;
    T.c_ospeed = Dcb.BaudRate;
    T.c_cc[VSTART] = static_cast<cc_t>(Dcb.XonChar);
    T.c_cc[VSTOP] = static_cast<cc_t>(Dcb.XoffChar);
    T.c_cc[VMIN] = 0;
    T.c_cc[VTIME] = 0;
    return true;
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
    dcb.Flags = DcbFlag::Binary | (T.c_iflag & INPCK ? DcbFlag::Parity : 0) |
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
