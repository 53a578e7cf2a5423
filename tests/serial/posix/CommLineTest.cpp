// What the component's settings do to a pseudo-terminal's line.
#include "tests/serial/CommFixture.h"
#include "tests/serial/posix/PtyPosix.h"
#include "tests/support/PropertyChecks.h"

template <typename T>
TPropertyCase LineCase(TComm& Comm, const char* Name, void (TComm::*Set)(T), T Same, T New)
{
    return {Name, [&Comm, Set, Same] { (Comm.*Set)(Same); },
            [&Comm, Set, New] { (Comm.*Set)(New); }};
}

// Applying the line settings always makes the line raw again, so an echo switched on behind
// the component's back shows whether a setter applied them.
TEST_F(CommTest, LineSettersOnAnOpenPortApplyOnlyOnAChange)
{
    Open();
    const auto applied = [&] {
        termios t = LineSettings(*Line);
        const bool raw = !(t.c_lflag & ECHO);
        t.c_lflag |= ECHO;
        SetLineSettings(*Line, t);
        return raw;
    };
    TComm& c = Comm;
    ExpectActsExactlyOnChange(
        applied,
        {LineCase<uint32_t>(c, "BaudRate", &TComm::SetBaudRate, 9600, 19200),
         LineCase(c, "ParityCheck", &TComm::SetParityCheck, false, true),
         LineCase(c, "Outx_CtsFlow", &TComm::SetOutx_CtsFlow, false, true),
         LineCase(c, "Outx_DsrFlow", &TComm::SetOutx_DsrFlow, false, true),
         LineCase(c, "DtrControl", &TComm::SetDtrControl, TDtrControl::DtrEnable,
                  TDtrControl::DtrDisable),
         LineCase(c, "DsrSensitivity", &TComm::SetDsrSensitivity, false, true),
         LineCase(c, "TxContinueOnXoff", &TComm::SetTxContinueOnXoff, true, false),
         LineCase(c, "Outx_XonXoffFlow", &TComm::SetOutx_XonXoffFlow, false, true),
         LineCase(c, "Inx_XonXoffFlow", &TComm::SetInx_XonXoffFlow, false, true),
         LineCase(c, "ReplaceWhenParityError", &TComm::SetReplaceWhenParityError, false, true),
         LineCase(c, "IgnoreNullChar", &TComm::SetIgnoreNullChar, false, true),
         LineCase(c, "RtsControl", &TComm::SetRtsControl, TRtsControl::RtsEnable,
                  TRtsControl::RtsDisable),
         LineCase<uint16_t>(c, "XonLimit", &TComm::SetXonLimit, 500, 100),
         LineCase<uint16_t>(c, "XoffLimit", &TComm::SetXoffLimit, 500, 100),
         LineCase(c, "ByteSize", &TComm::SetByteSize, TByteSize::_8, TByteSize::_7),
         LineCase(c, "StopBits", &TComm::SetStopBits, TStopBits::_1, TStopBits::_2),
         LineCase(c, "XonChar", &TComm::SetXonChar, '\x11', 'a'),
         LineCase(c, "XoffChar", &TComm::SetXoffChar, '\x13', 'b'),
         LineCase(c, "ReplacedChar", &TComm::SetReplacedChar, '\0', '?')});
}

TEST_F(CommTest, ParityOnAnOpenPortWaitsForTheNextWholeBlock)
{
    Open();
    Comm.SetParity(TParity::Odd);
    EXPECT_FALSE(LineSettings(*Line).c_cflag & PARODD);
    Comm.SetStopBits(TStopBits::_2);
    const termios t = LineSettings(*Line);
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
}

TEST_F(CommTest, ReopeningAppliesEverythingChangedWhileClosed)
{
    Open();
    Comm.ClosePort();
    Comm.SetParity(TParity::Mark);
    Comm.SetStopBits(TStopBits::_1_5);
    Comm.SetBaudRate(4800);
    EXPECT_FALSE(LineSettings(*Line).c_cflag & CMSPAR);
    Open();
    const termios t = LineSettings(*Line);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B4800));
}
