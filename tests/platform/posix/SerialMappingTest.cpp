// Only the kernel's termios2 here: the C library's termios.h would clash with it.
#include "platform/posix/SerialMapping.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include <tuple>

using namespace platform;

namespace {

TDcb Block(uint32_t Rate = 9600, uint8_t Size = 8, uint8_t Parity = 0, uint8_t Stop = 0,
           uint32_t Flags = 0x1091)
{
    TDcb dcb;
    dcb.BaudRate = Rate;
    dcb.ByteSize = Size;
    dcb.Parity = Parity;
    dcb.StopBits = Stop;
    dcb.Flags = Flags;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

termios2 Mapped(const TDcb& Dcb)
{
    termios2 t{};
    EXPECT_TRUE(DcbToTermios(Dcb, t));
    return t;
}

} // namespace

TEST(SerialMapping, RatesUseTheirConstantOrTheArbitraryRateInterface)
{
    const std::tuple<uint32_t, tcflag_t> rates[] = {
        {75, B75},   {9600, B9600},      {115200, B115200},
        {16550, BOTHER}, {1228800, BOTHER}, {250000, BOTHER}};
    for (auto [rate, code] : rates) {
        const termios2 t = Mapped(Block(rate));
        EXPECT_EQ(t.c_cflag & CBAUD, code) << rate;
        EXPECT_EQ((t.c_cflag >> IBSHIFT) & CBAUD, code) << rate;
        EXPECT_EQ(t.c_ospeed, rate);
        EXPECT_EQ(t.c_ispeed, rate);
    }
}

TEST(SerialMapping, FramingOfEveryByteSizeParityAndStopBitChoice)
{
    const std::tuple<uint8_t, tcflag_t> sizes[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};
    for (auto [size, bits] : sizes)
        EXPECT_EQ(Mapped(Block(9600, size)).c_cflag & CSIZE, bits);

    const tcflag_t parityBits = PARENB | PARODD | CMSPAR;
    const std::tuple<uint8_t, tcflag_t> parities[] = {{0, 0},
                                                      {1, PARENB | PARODD},
                                                      {2, PARENB},
                                                      {3, PARENB | PARODD | CMSPAR},
                                                      {4, PARENB | CMSPAR}};
    for (auto [parity, bits] : parities)
        EXPECT_EQ(Mapped(Block(9600, 8, parity)).c_cflag & parityBits, bits);

    EXPECT_FALSE(Mapped(Block(9600, 8, 0, 0)).c_cflag & CSTOPB);
    EXPECT_TRUE(Mapped(Block(9600, 8, 0, 1)).c_cflag & CSTOPB); // 1.5 becomes 2
    EXPECT_TRUE(Mapped(Block(9600, 8, 0, 2)).c_cflag & CSTOPB);
}

TEST(SerialMapping, BlocksWithoutALineSettingChangeNothing)
{
    const TDcb bad[] = {Block(0), Block(9600, 4), Block(9600, 9), Block(9600, 8, 5),
                        Block(9600, 8, 0, 3)};
    for (const TDcb& dcb : bad) {
        termios2 t{};
        t.c_cflag = CS7 | PARENB;
        t.c_ospeed = 1234;
        EXPECT_FALSE(DcbToTermios(dcb, t));
        EXPECT_EQ(t.c_cflag, static_cast<tcflag_t>(CS7 | PARENB));
        EXPECT_EQ(t.c_ospeed, 1234u);
    }
}

TEST(SerialMapping, RawBytesWhateverTheLineHadBefore)
{
    termios2 t{};
    t.c_iflag = ICRNL | IXON | ISTRIP | IGNPAR;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    t.c_cflag = HUPCL;
    ASSERT_TRUE(DcbToTermios(Block(), t));
    EXPECT_EQ(t.c_iflag, static_cast<tcflag_t>(IGNBRK));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL | HUPCL), static_cast<tcflag_t>(CREAD | CLOCAL | HUPCL));
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(SerialMapping, FlowControlFlagsAndCharacters)
{
    const std::tuple<uint32_t, tcflag_t, tcflag_t> cases[] = {
        // flags, IXON and IXOFF expected, CRTSCTS expected
        {0x1091, 0, 0},
        {0x1091 | 0x0100, IXON, 0},
        {0x1091 | 0x0200, IXOFF, 0},
        {0x1091 | 0x0004, 0, CRTSCTS},
        {0x2091, 0, CRTSCTS}, // RTS handshake
        {0x3091, 0, 0},       // RTS toggle has no termios form
    };
    for (auto [flags, iflag, crtscts] : cases) {
        const termios2 t = Mapped(Block(9600, 8, 0, 0, flags));
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), iflag) << std::hex << flags;
        EXPECT_EQ(t.c_cflag & CRTSCTS, crtscts) << std::hex << flags;
    }
    TDcb dcb = Block();
    dcb.XonChar = 'q';
    dcb.XoffChar = 's';
    const termios2 t = Mapped(dcb);
    EXPECT_EQ(t.c_cc[VSTART], 'q');
    EXPECT_EQ(t.c_cc[VSTOP], 's');
}

// A break must not become a 0 byte and a byte with a parity or framing error must not become 0
// or vanish: it arrives as received or, with the replacement flag, marked for the reader to
// replace. The errors themselves reach the receive thread through the driver's counters.
TEST(SerialMapping, BreaksAndErrorBytes)
{
    const tcflag_t relevant = IGNBRK | BRKINT | INPCK | IGNPAR | PARMRK | ISTRIP;
    const std::tuple<uint32_t, tcflag_t> cases[] = {
        // flags: parity check 0x0002, replacement 0x0400
        {0x1091, IGNBRK},
        {0x1093, IGNBRK},
        {0x1091 | 0x0400, IGNBRK | INPCK | PARMRK},
        {0x1093 | 0x0400, IGNBRK | INPCK | PARMRK},
    };
    for (auto [flags, iflag] : cases) {
        termios2 t{};
        t.c_iflag = BRKINT | IGNPAR | INPCK | PARMRK | ISTRIP;
        ASSERT_TRUE(DcbToTermios(Block(9600, 8, 2, 0, flags), t));
        EXPECT_EQ(t.c_iflag & relevant, iflag) << std::hex << flags;
    }
}

TEST(SerialMapping, MarkedBytesDecodeExactlyAcrossReads)
{
    using namespace std::string_literals;
    // Each case: the reads as they come from the line, and the bytes they stand for.
    const std::tuple<std::vector<std::string>, std::string> cases[] = {
        {{"abc"s}, "abc"s},
        {{"a\xFF\xFF" "b"s}, "a\xFF" "b"s},
        {{"a\xFF\x00" "cb"s}, "a?b"s},
        {{"\xFF\x00\x00"s}, "?"s},             // a 0 byte with a parity error
        {{"\xFF\x00\xFF"s}, "?"s},             // a 0xFF byte with one
        {{"\xFF\xFF\xFF\xFF"s}, "\xFF\xFF"s},
        {{"a\xFF"s, "\xFF" "b"s}, "a\xFF" "b"s}, // split after the mark
        {{"a\xFF"s, "\x00"s, "c"s}, "a?"s},      // split twice
        {{"\xFF\x00"s, "xy"s}, "?y"s},
        {{"\xFF"s, ""s, "\xFF"s}, "\xFF"s},
    };
    for (const auto& [reads, expected] : cases) {
        TMarkDecoder decoder;
        std::string got;
        for (std::string chunk : reads) {
            const std::size_t n =
                decoder.Decode(reinterpret_cast<uint8_t*>(chunk.data()), chunk.size(), '?');
            got += chunk.substr(0, n);
        }
        EXPECT_EQ(got, expected) << testing::PrintToString(reads);
    }
}

TEST(SerialMapping, ControlLinesFollowTheirFields)
{
    const std::tuple<uint32_t, int, int> cases[] = {
        // flags, raised, dropped
        {0x1010, TIOCM_DTR | TIOCM_RTS, 0},
        {0x0000, 0, TIOCM_DTR | TIOCM_RTS},
        {0x2020, TIOCM_DTR, 0}, // handshakes: DTR stays on, RTS left to the flow control
        {0x3000, TIOCM_RTS, TIOCM_DTR},
    };
    for (auto [flags, raised, dropped] : cases) {
        int set = -1, clear = -1;
        DcbModemLines(Block(9600, 8, 0, 0, flags), set, clear);
        EXPECT_EQ(set, raised) << std::hex << flags;
        EXPECT_EQ(clear, dropped) << std::hex << flags;
    }
}

TEST(SerialMapping, ABlockReadBackFromTheLineDescribesItsFraming)
{
    termios2 t{};
    ASSERT_TRUE(DcbToTermios(Block(1228800, 7, 3, 2), t));
    const TDcb dcb = TermiosToDcb(t);
    EXPECT_EQ(dcb.BaudRate, 1228800u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, 3);
    EXPECT_EQ(dcb.StopBits, 2);
    EXPECT_EQ(dcb.DCBlength, 28u);
}

// A rate without a classic constant reaches a real line exactly.
TEST(SerialMapping, TheArbitraryRateReachesThePseudoTerminal)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string path = ptsname(master);
    std::unique_ptr<TSerialDevice> device;
    ASSERT_EQ(TSerialDevice::Open(path, device), TSerialDevice::TOpenResult::Opened);
    EXPECT_TRUE(device->SetCommState(Block(1228800, 8, 4, 1)));
    EXPECT_FALSE(device->SetCommState(Block(0)));

    const int probe = open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(probe, 0);
    termios2 t{};
    ASSERT_EQ(ioctl(probe, TCGETS2, &t), 0);
    EXPECT_EQ(t.c_ospeed, 1228800u);
    EXPECT_EQ(t.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(t.c_cflag & (CMSPAR | CSTOPB), static_cast<tcflag_t>(CMSPAR | CSTOPB));
    TDcb kept;
    ASSERT_TRUE(device->GetCommState(kept));
    EXPECT_EQ(kept.BaudRate, 1228800u);
    close(probe);
    device.reset();
    close(master);
}
