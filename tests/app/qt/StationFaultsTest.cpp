// Faults the production line brings, injected through the real window on the offscreen
// platform with a pseudo-terminal for the device: lines that go away and come back, an
// operator who switches settings as fast as the keyboard allows, a device that never pauses,
// port names that lead to no line. Each fault ends in the error text the operator sees (or in
// silence where the window has nothing to say), and the station works afterwards.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/InputDriver.h"
#include "framework/qt/NativeWidget.h"
#include "tests/serial/posix/PtyPosix.h"
#include "tests/support/ProcessCounts.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

using TBytes = std::vector<std::uint8_t>;
using TTexts = std::vector<std::string>;

const TBytes ResetFrame = {0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05};

class StationFaults : public ::testing::Test {
protected:
    StationFaults()
    {
        Application->OnException = [this](TObject*, const std::string& Text) {
            Errors.push_back(Text);
        };
        Form = std::make_unique<TForm1>(nullptr);
        // Every block the window is handed, in order, before the window's own handler runs.
        auto window = Form->Comm1->OnReceiveData;
        Form->Comm1->OnReceiveData = [this, window](TObject* Sender, const void* Buffer,
                                                    std::uint16_t Length) {
            const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
            if (Tally)
                Tally(bytes, Length);
            else
                Received.insert(Received.end(), bytes, bytes + Length);
            window(Sender, Buffer, Length);
        };
        Form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(NativeWidgetOf(*Form)));
    }
    ~StationFaults() override
    {
        Form.reset();
        Application->OnException = nullptr;
    }

    static void Click(TWinControl& Button) { Input::Click(Button, {30, 12}); }

    // The operator types the port's name into the port list, as after unplugging.
    void TypePortName(const char* Name)
    {
        QLineEdit* field = static_cast<QComboBox*>(NativeWidgetOf(*Form->ComboBox1))->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, Name);
    }

    // A frame goes out and a block comes back, counted and shown.
    void ExpectUsable(TPty& Device)
    {
        Device.Read(1 << 16, 200); // whatever earlier clicks left on the line
        Click(*Form->Button6);
        EXPECT_EQ(Device.Read(8, 3000), ResetFrame);
        const std::int32_t before = Form->PacketCount();
        Device.Write({0x01, 0x02, 0x03, 0x06});
        ASSERT_TRUE(WaitFor([&] { return Form->PacketCount() == before + 1; }));
        EXPECT_EQ(Form->Edit2->Text(), "01020306");
        EXPECT_EQ(Form->Label2->Caption(), std::to_string(before + 1));
    }

    TPortDir Dir;
    std::unique_ptr<TPty> Line = std::make_unique<TPty>(Dir);
    TTexts Errors;
    TBytes Received;
    // Takes the received bytes instead of Received, for floods too long to keep.
    std::function<void(const std::uint8_t*, std::size_t)> Tally;
    std::unique_ptr<TForm1> Form;
};

TEST_F(StationFaults, PortNamesThatLeadToNoLineShowTheOpeningErrorAndCom1StillWorks)
{
    const std::string file = PortPath(Dir) + "/plain-file";
    std::ofstream(file) << "not a line";
    mkdir((PortPath(Dir) + "/folder").c_str(), 0700);
    std::string deep; // 4 KiB, as long as a path may be
    while (deep.size() < 4094)
        deep += "/x";
    LinkPort(Dir, "loop-a", PortPath(Dir) + "/loop-b");
    LinkPort(Dir, "loop-b", PortPath(Dir) + "/loop-a");
    const struct {
        std::string Target;
        const char* Shown;
    } rows[] = {
        {PortPath(Dir) + "/folder", "File handle is not a comm handle "},
        {file, "File handle is not a comm handle "},
        {"/dev/null", "File handle is not a comm handle "},
        {PortPath(Dir) + "/unplugged", "Error opening serial port."},
        {PortPath(Dir) + "/loop-a", "Error opening serial port."},
        {deep, "Error opening serial port."},
    };
    for (const auto& row : rows) {
        LinkPort(Dir, "COM3", row.Target);
        Errors.clear();
        Form->ComboBox1->SetItemIndex(0);
        TypePortName("COM3");
        EXPECT_EQ(Errors, TTexts{row.Shown}) << row.Target.substr(0, 80);
        EXPECT_FALSE(Form->Comm1->Opened());
        Click(*Form->Button1); // refused, and nothing more to say
        EXPECT_EQ(Errors.size(), 1u);
        TypePortName("COM1");
        EXPECT_TRUE(Form->Comm1->Opened());
        ExpectUsable(*Line);
    }
}

TEST_F(StationFaults, TheDeviceVanishingInABlockIsSilentAndRetypingTheNameReopensTheNewOne)
{
    Line->Write({0x01, 0x02, 0x03}); // half of a block
    // Unplugging loses what the component has not read; what it has is still the operator's.
    Pump(50); // the line's own hand-over to the reading side
    ASSERT_TRUE(WaitFor([&] { return Unread(*Line) == 0; }));
    Line->CloseFarEnd();
    // What arrived before the line went is delivered as the block it is.
    ASSERT_TRUE(WaitFor([&] { return Form->PacketCount() == 1; }));
    EXPECT_EQ(Form->Edit2->Text(), "010203");
    Click(*Form->Button2);
    Pump(300);
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Form->PacketCount(), 1);

    Line = std::make_unique<TPty>(Dir); // plugged in again, under COM1
    TypePortName("COM1");
    EXPECT_TRUE(Errors.empty());
    ExpectUsable(*Line);
    EXPECT_EQ(Received, (TBytes{0x01, 0x02, 0x03, 0x01, 0x02, 0x03, 0x06}));
}

TEST_F(StationFaults, TheDeviceVanishingDuringAWriteIsSilentAndRetypingTheNameReopensTheNewOne)
{
    Line->CloseFarEnd();
    for (TcxButton* button : {Form->Button1, Form->Button3, Form->Button4, Form->Button5})
        Click(*button);
    Pump(300);
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Form->Edit1->Text(), "AA55050000000004");

    Line = std::make_unique<TPty>(Dir);
    TypePortName("COM1");
    EXPECT_TRUE(Errors.empty());
    ExpectUsable(*Line);
}

TEST_F(StationFaults, ClosingThePortWithBlocksStillQueuedDeliversEveryOne)
{
    const TBytes blocks[] = {{0x10, 0x11}, {0x20, 0x21, 0x22}, {0x30}};
    TBytes sent;
    for (const TBytes& block : blocks) {
        Line->Write(block);
        sent.insert(sent.end(), block.begin(), block.end());
        // Not handling messages: the block waits in the window's queue.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    Form->Comm1->ClosePort();
    EXPECT_EQ(Form->PacketCount(), 0);
    ASSERT_TRUE(WaitFor([&] { return Received == sent; }));
    EXPECT_EQ(Form->PacketCount(), 3);
    EXPECT_EQ(Form->Edit2->Text(), "30");
    Form->Comm1->OpenPort();
    ExpectUsable(*Line);
}

// A device that answers all the time, written from its own thread as fast as the line takes
// it: block n is n, n + 1, n + 2 (each modulo 256), so byte k of the stream is ByteAt(k).
class TChatter {
public:
    static std::uint8_t ByteAt(std::uint64_t K) { return std::uint8_t(K / 3 + K % 3); }

    TChatter(const TPty& Device, std::chrono::microseconds Pause)
        : FThread([this, &Device, Pause] {
              try {
                  for (std::uint8_t n = 0; !FStop; ++n) {
                      Device.Write({n, std::uint8_t(n + 1), std::uint8_t(n + 2)});
                      Sent += 3;
                      if (Pause.count() > 0)
                          std::this_thread::sleep_for(Pause);
                  }
              } catch (const std::exception&) {
                  Stalled = true; // the line stopped taking bytes for seconds
              }
              FDone = true;
          })
    {
    }
    // Returns once the thread has written its last block; the window goes on reading.
    void Stop()
    {
        FStop = true;
        WaitFor([this] { return FDone.load(); }, 10000);
        FThread.join();
    }
    std::atomic<std::uint64_t> Sent{0};
    std::atomic<bool> Stalled{false};

private:
    std::atomic<bool> FStop{false}, FDone{false};
    std::thread FThread;
};

TEST_F(StationFaults, ASwitchingStormWhileDataFlowsLeavesNothingBehind)
{
    ExpectUsable(*Line);
    const TProcessCounts before = ReadProcessCounts();
    TChatter device(*Line, std::chrono::microseconds(500));
    for (int change = 0; change < 1000; ++change) {
        // Down then up through the baud rates; every change closes and opens the port.
        Input::KeyPress(*Form->ComboBox2, change % 2 ? VirtualKey::Up : VirtualKey::Down);
        if (change % 10 == 0)
            Click(*Form->Button1);
        if (change % 50 == 0)
            Pump(1);
    }
    device.Stop();
    EXPECT_FALSE(device.Stalled);
    Pump(500);
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Form->ComboBox2->Text(), "9600");
    EXPECT_GT(Form->PacketCount(), 0);
    ExpectUsable(*Line);
    const TProcessCounts after = ReadProcessCounts();
    EXPECT_EQ(after.Descriptors, before.Descriptors);
    EXPECT_EQ(after.Threads, before.Threads);
    if (ResidentMemoryMeasurable()) {
        EXPECT_LT(after.ResidentBytes, before.ResidentBytes + (8u << 20));
    }
}

TEST_F(StationFaults, AFloodLosesNothingAndHoldsMemoryFlat)
{
    ExpectUsable(*Line);
    std::uint64_t received = 0, wrong = 0;
    Tally = [&](const std::uint8_t* Bytes, std::size_t Count) {
        for (std::size_t i = 0; i < Count; ++i)
            wrong += Bytes[i] != TChatter::ByteAt(received++);
    };
    const TProcessCounts before = ReadProcessCounts();
    TChatter device(*Line, std::chrono::microseconds(0));
    Pump(1000); // the heap and the window's queue settle at their working size
    const TProcessCounts warm = ReadProcessCounts();
    const std::int32_t warmBlocks = Form->PacketCount();
    Pump(3000);
    const TProcessCounts hot = ReadProcessCounts();
    const std::int32_t blocks = Form->PacketCount() - warmBlocks;
    device.Stop();
    EXPECT_FALSE(device.Stalled);
    ASSERT_TRUE(WaitFor([&] { return received == device.Sent; }, 10000));
    EXPECT_EQ(wrong, 0u);
    EXPECT_TRUE(Errors.empty());
    ASSERT_GT(blocks, 100);
    const double slope = (double(hot.ResidentBytes) - double(warm.ResidentBytes)) / blocks;
    std::printf("flood: %d blocks in 3 s, resident memory %+.1f bytes per block\n", blocks, slope);
    // Pages come and go in 4 KiB steps; every block left waiting holds a whole read buffer,
    // over 2 KiB.
    if (ResidentMemoryMeasurable()) {
        EXPECT_LT(slope, 1000.0);
    }
    Tally = nullptr;
    ExpectUsable(*Line);
    const TProcessCounts after = ReadProcessCounts();
    EXPECT_EQ(after.Descriptors, before.Descriptors);
    EXPECT_EQ(after.Threads, before.Threads);
}

} // namespace
