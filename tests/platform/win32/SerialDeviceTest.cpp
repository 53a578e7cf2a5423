// The serial device on Windows. scripts/test-windows.sh joins two pseudo-terminals with socat
// and maps them as COM5 and COM6, so that bytes written to one are read from the other.
#include "platform/SerialDevice.h"
#include "platform/win32/Windows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

class Port : public testing::Test {
protected:
    void SetUp() override
    {
        if (TSerialDevice::Open("COM5", Reader) != TSerialDevice::TOpenResult::Opened ||
            TSerialDevice::Open("COM6", Writer) != TSerialDevice::TOpenResult::Opened)
            GTEST_FAIL() << "COM5 and COM6 must be a connected pair (scripts/test-windows.sh)";
        TCommTimeouts timeouts;
        timeouts.ReadIntervalTimeout = 100;
        ASSERT_TRUE(Reader->SetCommTimeouts(timeouts));
        ASSERT_TRUE(Writer->SetCommTimeouts({}));
    }

    std::vector<uint8_t> Send(std::size_t Count)
    {
        std::vector<uint8_t> bytes(Count);
        for (std::size_t i = 0; i < Count; ++i)
            bytes[i] = uint8_t(i * 7 + 3);
        std::size_t sent = 0;
        while (sent < Count) {
            const TIoResult w = Writer->Write(bytes.data() + sent, Count - sent, Stop.Handle());
            EXPECT_EQ(w.Status, TIoResult::TStatus::Completed);
            if (w.Status != TIoResult::TStatus::Completed)
                break;
            sent += w.Count;
        }
        return bytes;
    }

    std::unique_ptr<TSerialDevice> Reader, Writer;
    TEvent Stop;
};

} // namespace

TEST(PortName, ComNamesGoThroughTheDeviceNamespace)
{
    const struct {
        const char* Name;
        const char* Path;
    } cases[] = {
        {"COM1", "\\\\.\\COM1"}, {"com10", "\\\\.\\COM10"}, {"COM256", "\\\\.\\COM256"},
        {"COM257", ""},          {"COM0", ""},              {"COM01", ""},
        {"LPT1", ""},            {"COM", ""},               {"\\\\.\\COM3", "\\\\.\\COM3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePortName(c.Name), c.Path) << c.Name;
}

TEST(PortName, AMissingPortFailsToOpen)
{
    std::unique_ptr<TSerialDevice> device;
    EXPECT_EQ(TSerialDevice::Open("COM9", device), TSerialDevice::TOpenResult::OpenFailed);
    EXPECT_EQ(TSerialDevice::Open("NUL", device), TSerialDevice::TOpenResult::OpenFailed);
    EXPECT_EQ(device, nullptr);
}

TEST_F(Port, ABurstArrivesAsOneReadAndTheLineReportsNoEvents)
{
    const std::vector<uint8_t> sent = Send(8);
    uint8_t buffer[2048];
    const TIoResult r = Reader->Read(buffer, sizeof buffer, Stop.Handle());
    ASSERT_EQ(r.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + r.Count), sent);
    // A pseudo-terminal refuses the wait for line events; reading goes on without them.
    uint32_t errors = 99, modem = 99;
    Reader->TakeLineEvents(errors, modem);
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(modem, 0u);
    Send(3);
    EXPECT_EQ(Reader->Read(buffer, sizeof buffer, Stop.Handle()).Count, 3u);
}

TEST_F(Port, AStreamIsCutIntoFullBuffersAndTheRest)
{
    const std::vector<uint8_t> sent = Send(5000);
    std::vector<uint8_t> received;
    std::vector<std::size_t> counts;
    uint8_t buffer[2048];
    while (received.size() < sent.size()) {
        const TIoResult r = Reader->Read(buffer, sizeof buffer, Stop.Handle());
        ASSERT_EQ(r.Status, TIoResult::TStatus::Completed);
        counts.push_back(r.Count);
        received.insert(received.end(), buffer, buffer + r.Count);
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{2048, 2048, 904}));
    EXPECT_EQ(received, sent);
}

TEST_F(Port, AReadEndsWithWhatCameWhenItsTotalTimeOutPasses)
{
    TCommTimeouts timeouts;
    timeouts.ReadTotalTimeoutConstant = 100;
    ASSERT_TRUE(Reader->SetCommTimeouts(timeouts));
    uint8_t buffer[16];
    const TIoResult none = Reader->Read(buffer, sizeof buffer, Stop.Handle());
    EXPECT_EQ(none.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(none.Count, 0u);
    const std::vector<uint8_t> sent = Send(3);
    const TIoResult some = Reader->Read(buffer, sizeof buffer, Stop.Handle());
    EXPECT_EQ(some.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + some.Count), sent);
}

TEST_F(Port, StopEndsAPendingRead)
{
    Stop.Set();
    uint8_t buffer[16];
    EXPECT_EQ(Reader->Read(buffer, sizeof buffer, Stop.Handle()).Status,
              TIoResult::TStatus::Stopped);
    // The cancelled read took nothing: the next burst arrives whole.
    Stop.Reset();
    Send(5);
    EXPECT_EQ(Reader->Read(buffer, sizeof buffer, Stop.Handle()).Count, 5u);
}

TEST_F(Port, ThePortStateIsTheDeviceControlBlock)
{
    TDcb dcb;
    ASSERT_TRUE(Reader->GetCommState(dcb));
    // A pseudo-terminal keeps 8 bits without parity whatever it is told, so those are not asked.
    dcb.BaudRate = 19200;
    dcb.StopBits = DcbStopBits::Two;
    ASSERT_TRUE(Reader->SetCommState(dcb));
    TDcb back;
    ASSERT_TRUE(Reader->GetCommState(back));
    EXPECT_EQ(back.BaudRate, 19200u);
    EXPECT_EQ(back.StopBits, DcbStopBits::Two);
    EXPECT_EQ(back.DCBlength, 28u);
}

TEST_F(Port, AnOpenPortIsNotOpenedTwice)
{
    if (UnderWine())
        GTEST_SKIP() << "Wine does not enforce exclusive opening of a port";
    std::unique_ptr<TSerialDevice> second;
    EXPECT_EQ(TSerialDevice::Open("COM5", second), TSerialDevice::TOpenResult::OpenFailed);
}
