#include "tests/serial/CommFixture.h"
#include "tests/support/PropertyChecks.h"

#include <tuple>

using namespace platform;

namespace {

// What the port reported before the settings were applied; fields the component does not own
// must come through unchanged.
TDcb Reported()
{
    TDcb dcb;
    dcb.DCBlength = 28;
    dcb.BaudRate = 115200;
    dcb.Flags = 0xFFFFFFFF;
    dcb.wReserved = 7;
    dcb.EofChar = 0x1A;
    dcb.EvtChar = 0x0D;
    dcb.wReserved1 = 9;
    return dcb;
}

} // namespace

TEST(CommDcb, DefaultsGiveFlagWord0x1091AndTheDefaultFields)
{
    TComm comm(nullptr);
    const TDcb dcb = comm.ComposeDcb(Reported());
    EXPECT_EQ(dcb.Flags, 0x1091u);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, 0);
    EXPECT_EQ(dcb.StopBits, 0);
    EXPECT_EQ(dcb.XonLim, 500);
    EXPECT_EQ(dcb.XoffLim, 500);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.ErrorChar, 0);
    EXPECT_EQ(dcb.DCBlength, 28u);
    EXPECT_EQ(dcb.wReserved, 7);
    EXPECT_EQ(dcb.EofChar, 0x1A);
    EXPECT_EQ(dcb.EvtChar, 0x0D);
    EXPECT_EQ(dcb.wReserved1, 9);
    EXPECT_EQ(comm.CommName(), "COM1");
    EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
}

TEST(CommDcb, EveryParityByteSizeAndStopBitChoice)
{
    TComm comm(nullptr);
    const std::tuple<TParity, uint8_t> parities[] = {{TParity::None, 0}, {TParity::Odd, 1},
                                                     {TParity::Even, 2}, {TParity::Mark, 3},
                                                     {TParity::Space, 4}};
    for (auto [parity, field] : parities) {
        comm.SetParity(parity);
        EXPECT_EQ(comm.ComposeDcb(Reported()).Parity, field);
        // Parity never touches the flag word: checking is a separate property.
        EXPECT_EQ(comm.ComposeDcb(Reported()).Flags, 0x1091u);
    }
    const std::tuple<TByteSize, uint8_t> sizes[] = {
        {TByteSize::_5, 5}, {TByteSize::_6, 6}, {TByteSize::_7, 7}, {TByteSize::_8, 8}};
    for (auto [size, field] : sizes) {
        comm.SetByteSize(size);
        EXPECT_EQ(comm.ComposeDcb(Reported()).ByteSize, field);
    }
    const std::tuple<TStopBits, uint8_t> stops[] = {
        {TStopBits::_1, 0}, {TStopBits::_1_5, 1}, {TStopBits::_2, 2}};
    for (auto [stop, field] : stops) {
        comm.SetStopBits(stop);
        EXPECT_EQ(comm.ComposeDcb(Reported()).StopBits, field);
    }
}

TEST(CommDcb, ParityCheckIsIndependentOfTheParityScheme)
{
    TComm comm(nullptr);
    comm.SetParityCheck(true);
    EXPECT_EQ(comm.ComposeDcb(Reported()).Flags, 0x1093u);
    EXPECT_EQ(comm.ComposeDcb(Reported()).Parity, 0);
    comm.SetParity(TParity::Even);
    EXPECT_EQ(comm.ComposeDcb(Reported()).Flags, 0x1093u);
}

TEST(CommDcb, EachFlagPropertySetsItsOwnBit)
{
    const std::tuple<void (TComm::*)(bool), bool, uint32_t> cases[] = {
        {&TComm::SetOutx_CtsFlow, true, 0x1091 | 0x0004},
        {&TComm::SetOutx_DsrFlow, true, 0x1091 | 0x0008},
        {&TComm::SetDsrSensitivity, true, 0x1091 | 0x0040},
        {&TComm::SetTxContinueOnXoff, false, 0x1091 & ~0x0080u},
        {&TComm::SetOutx_XonXoffFlow, true, 0x1091 | 0x0100},
        {&TComm::SetInx_XonXoffFlow, true, 0x1091 | 0x0200},
        {&TComm::SetReplaceWhenParityError, true, 0x1091 | 0x0400},
        {&TComm::SetIgnoreNullChar, true, 0x1091 | 0x0800},
    };
    for (auto [setter, value, flags] : cases) {
        TComm comm(nullptr);
        (comm.*setter)(value);
        EXPECT_EQ(comm.ComposeDcb(Reported()).Flags, flags);
    }
}

TEST(CommDcb, ControlLinesWriteTheBlocksNumberingNotTheOrdinal)
{
    const std::tuple<TDtrControl, uint32_t> dtr[] = {{TDtrControl::DtrEnable, 0x0010},
                                                     {TDtrControl::DtrDisable, 0x0000},
                                                     {TDtrControl::DtrHandshake, 0x0020}};
    for (auto [value, bits] : dtr) {
        TComm comm(nullptr);
        comm.SetDtrControl(value);
        EXPECT_EQ(comm.ComposeDcb(Reported()).Flags & 0x0030, bits);
    }
    const std::tuple<TRtsControl, uint32_t> rts[] = {
        {TRtsControl::RtsEnable, 0x1000}, {TRtsControl::RtsDisable, 0x0000},
        {TRtsControl::RtsHandshake, 0x2000}, {TRtsControl::RtsTransmissionAvailable, 0x3000}};
    for (auto [value, bits] : rts) {
        TComm comm(nullptr);
        comm.SetRtsControl(value);
        EXPECT_EQ(comm.ComposeDcb(Reported()).Flags & 0x3000, bits);
    }
}

TEST(CommDcb, CharactersLimitsAndBaudRateGoToTheirFields)
{
    TComm comm(nullptr);
    comm.SetBaudRate(1228800);
    comm.SetXonLimit(100);
    comm.SetXoffLimit(65535);
    comm.SetXonChar('a');
    comm.SetXoffChar('b');
    comm.SetReplacedChar('?');
    const TDcb dcb = comm.ComposeDcb(Reported());
    EXPECT_EQ(dcb.BaudRate, 1228800u);
    EXPECT_EQ(dcb.XonLim, 100);
    EXPECT_EQ(dcb.XoffLim, 65535);
    EXPECT_EQ(dcb.XonChar, 'a');
    EXPECT_EQ(dcb.XoffChar, 'b');
    EXPECT_EQ(dcb.ErrorChar, '?');
}

TEST_F(CommTest, CommNameOnAnOpenPortWaitsForTheNextOpen)
{
    Open();
    TPty other(Dir, "COM7");
    Comm.SetCommName("COM7");
    const uint8_t byte = 0x42;
    ASSERT_TRUE(Comm.SendData(&byte, 1));
    EXPECT_EQ(Line->Read(1, 2000), std::vector<uint8_t>{0x42});
    Comm.ClosePort();
    Open();
    ASSERT_TRUE(Comm.SendData(&byte, 1));
    EXPECT_EQ(other.Read(1, 2000), std::vector<uint8_t>{0x42});
    Comm.ClosePort();
}

TEST_F(CommTest, ATimeOutChangedOnAnOpenPortCutsTheNextBlocks)
{
    Open();
    Comm.SetReadIntervalTimeout(10);
    Line->Write({1, 2, 3});
    Pump(60);
    Line->Write({4, 5});
    ASSERT_TRUE(WaitFor([&] { return Blocks.size() >= 2; }));
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{1, 2, 3}, {4, 5}}));
}
