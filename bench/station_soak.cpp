// A shift on the line, compressed: a device floods the real window with back-to-back
// 2048-byte blocks through a pseudo-terminal while a driver presses the six test buttons and
// changes line settings through the keyboard, for a given number of seconds. At the end it
// prints what went through (blocks and bytes sent and received, which must be equal),
// beeps, errors shown, and the process's descriptors, threads and resident memory at the
// start and the end, with the memory's slope in bytes per block after a warm-up.
//
// The received stream is checked byte for byte against what was sent. A block cut short in
// the middle of a sent block is put down either to the line (the device's write of that block
// lasted the whole pause or longer: on a loaded machine the device's thread itself can be held
// off the processor) or to the station (the write was quicker than the pause, so the line never
// stood still that long).
//
// Opening a port clears what waits on the line, so the device holds its answers while a
// setting changes, as a real device only answers frames it has had; the driver waits until
// everything sent has been received before it changes one.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/InputDriver.h"
#include "platform/Sound.h"
#include "tests/serial/Pty.h"
#include "tests/support/ProcessCounts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;
constexpr std::size_t BlockSize = 2048;

constexpr auto LinePause = std::chrono::milliseconds(100);

// Byte Offset of the sent stream: block n is bytes n, n+1, n+2... so that a byte out of place
// shows wherever it lands.
std::uint8_t SentByte(std::uint64_t Offset)
{
    return std::uint8_t(Offset / BlockSize + Offset % BlockSize);
}

// The device's side: numbered blocks written as fast as the line takes them, and the
// station's frames read off the line as they come.
class TFloodingDevice {
public:
    explicit TFloodingDevice(const TPty& Line)
        : FThread([this, &Line] {
              std::vector<std::uint8_t> block(BlockSize);
              try {
                  while (!FStop) {
                      FramesBytes += Line.Read(4096, Holding ? 5 : 0).size();
                      if (Holding)
                          continue;
                      const std::uint32_t n = BlocksSent;
                      for (std::size_t i = 0; i < BlockSize; ++i)
                          block[i] = SentByte(std::uint64_t(n) * BlockSize + i);
                      const TClock::time_point began = TClock::now();
                      Line.Write(block);
                      if (TClock::now() - began >= LinePause)
                          SlowWrites.push_back(n);
                      ++BlocksSent;
                  }
              } catch (const std::exception&) {
                  Stalled = true;
              }
          })
    {
    }
    ~TFloodingDevice() { Stop(); }
    void Stop()
    {
        FStop = true;
        if (FThread.joinable())
            FThread.join();
    }
    std::atomic<bool> Holding{false};
    std::atomic<std::uint32_t> BlocksSent{0};
    std::atomic<std::uint64_t> FramesBytes{0};
    std::atomic<bool> Stalled{false};
    // Blocks whose write took a line pause or longer, in order; read once the device is gone.
    std::vector<std::uint32_t> SlowWrites;

private:
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// The threads by name, so that one that comes or goes can be told apart.
std::string ThreadNames()
{
    std::string names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        names += " " + name;
    }
    return names;
}

void Print(const char* When, const TProcessCounts& C, const std::string& Threads)
{
    std::printf("%-6s descriptors %zu, resident %.1f MiB, threads %zu:%s\n", When, C.Descriptors,
                double(C.ResidentBytes) / (1 << 20), C.Threads, Threads.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 180;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv, TApplication::TKind::Gui);
    unsigned long errors = 0;
    Application->OnException = [&](TObject*, const std::string& Text) {
        ++errors;
        std::printf("error shown: %s\n", Text.c_str());
    };

    TPortDir dir;
    TPty line(dir);
    auto form = std::make_unique<TForm1>(nullptr);
    form->Show();

    std::uint64_t blocksReceived = 0, bytesReceived = 0, wrongBytes = 0;
    // Where blocks were cut short inside a sent block: the stream offset of the cut.
    std::vector<std::uint64_t> cutsInside;
    auto window = form->Comm1->OnReceiveData;
    form->Comm1->OnReceiveData = [&](TObject* Sender, const void* Buffer, std::uint16_t Length) {
        const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
        for (std::uint16_t i = 0; i < Length; ++i)
            wrongBytes += bytes[i] != SentByte(bytesReceived + i);
        ++blocksReceived;
        bytesReceived += Length;
        // A full block that ends inside a sent one only carries an earlier cut along.
        if (Length < BlockSize && bytesReceived % BlockSize != 0)
            cutsInside.push_back(bytesReceived);
        window(Sender, Buffer, Length);
    };
    Pump(500);

    const unsigned long beepsBefore = platform::BeepCount();
    const TProcessCounts start = ReadProcessCounts();
    const std::string startThreads = ThreadNames();
    TProcessCounts warm;
    std::uint64_t warmBlocks = 0;
    std::mt19937 random(12);
    TcxButton* const buttons[] = {form->Button1, form->Button2, form->Button3,
                                  form->Button4, form->Button5, form->Button6};
    TComboBox* const lists[] = {form->ComboBox2, form->ComboBox3, form->ComboBox4, form->ComboBox5};
    unsigned long clicks = 0, changes = 0;
    {
        TFloodingDevice device(line);
        const TClock::time_point begin = TClock::now();
        const auto end = begin + std::chrono::seconds(seconds);
        TClock::time_point nextChange = begin + std::chrono::seconds(2);
        bool warmed = false;
        while (TClock::now() < end && !device.Stalled) {
            Pump(50);
            Input::Click(*buttons[random() % 6], {30, 12});
            ++clicks;
            if (!warmed && TClock::now() > begin + std::chrono::seconds(seconds) / 10) {
                warmed = true;
                warm = ReadProcessCounts();
                warmBlocks = blocksReceived;
            }
            if (TClock::now() < nextChange)
                continue;
            device.Holding = true;
            WaitFor([&] { return bytesReceived == device.BlocksSent * BlockSize; }, 30000);
            // Down then up again: two reopenings, the settings as they were.
            TComboBox& list = *lists[random() % 4];
            Input::KeyPress(list, VirtualKey::Down);
            Input::KeyPress(list, VirtualKey::Up);
            changes += 2;
            device.Holding = false;
            nextChange = TClock::now() + std::chrono::seconds(2);
        }
        device.Holding = true;
        WaitFor([&] { return bytesReceived == device.BlocksSent * BlockSize; }, 30000);
        Pump(200);
        std::printf("ran %d s: %u blocks sent (%llu bytes), %llu received (%llu bytes), %llu "
                    "bytes not as sent, %llu frame bytes read by the device%s\n",
                    seconds, device.BlocksSent.load(),
                    (unsigned long long)device.BlocksSent * BlockSize,
                    (unsigned long long)blocksReceived, (unsigned long long)bytesReceived,
                    (unsigned long long)wrongBytes, (unsigned long long)device.FramesBytes.load(),
                    device.Stalled ? ", THE LINE STALLED" : "");
        device.Stop();
        std::size_t duringSlowWrite = 0;
        for (const std::uint64_t cut : cutsInside)
            duringSlowWrite += std::binary_search(device.SlowWrites.begin(),
                                                  device.SlowWrites.end(),
                                                  std::uint32_t(cut / BlockSize));
        std::printf("blocks cut inside a sent block: %zu while the device's write of it lasted "
                    "%lld ms or more, %zu while it was quicker (%zu such slow writes in all)\n",
                    duringSlowWrite, (long long)LinePause.count(),
                    cutsInside.size() - duringSlowWrite, device.SlowWrites.size());
    }
    const TProcessCounts finish = ReadProcessCounts();
    const std::string finishThreads = ThreadNames();
    std::printf("%lu clicks, %lu setting changes, %lu beeps, %lu errors shown\n", clicks, changes,
                platform::BeepCount() - beepsBefore, errors);
    Print("start", start, startThreads);
    Print("end", finish, finishThreads);
    if (blocksReceived > warmBlocks)
        std::printf("resident memory after the warm-up: %+.2f bytes per block\n",
                    (double(finish.ResidentBytes) - double(warm.ResidentBytes)) /
                        double(blocksReceived - warmBlocks));
    form.reset();
    return 0;
}
