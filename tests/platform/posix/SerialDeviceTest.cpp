#include "platform/SerialDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <pty.h>
#include <pwd.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

using TClock = std::chrono::steady_clock;

// A port directory with COM3 linked to a file, named by OSTREL_SMT_PORTS while it exists.
class PortNames : public ::testing::Test {
protected:
    PortNames()
    {
        char pattern[] = "/tmp/ostrel-names-XXXXXX";
        Dir = mkdtemp(pattern);
        std::ofstream(Dir + "/target");
        std::filesystem::create_symlink(Dir + "/target", Dir + "/COM3");
        setenv("OSTREL_SMT_PORTS", Dir.c_str(), 1);
    }
    ~PortNames() override
    {
        unsetenv("OSTREL_SMT_PORTS");
        std::filesystem::remove_all(Dir);
    }
    std::string Dir;
};

// A raw pseudo-terminal opened through the device interface, with the far end kept here.
class Device : public ::testing::Test {
protected:
    Device()
    {
        char path[256];
        int slave;
        EXPECT_EQ(openpty(&Master, &slave, path, nullptr, nullptr), 0);
        termios t;
        tcgetattr(Master, &t);
        cfmakeraw(&t);
        tcsetattr(Master, TCSANOW, &t);
        close(slave);
        EXPECT_EQ(TSerialDevice::Open(path, Port), TSerialDevice::TOpenResult::Opened);
        TDcb dcb;
        Port->GetCommState(dcb);
        dcb.BaudRate = 9600;
        Port->SetCommState(dcb);
    }
    ~Device() override
    {
        Port.reset();
        close(Master);
    }
    int Master = -1;
    std::unique_ptr<TSerialDevice> Port;
    TEvent Stop;
};

long MsSince(TClock::time_point Start)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - Start).count());
}

} // namespace

TEST_F(PortNames, ComNamesFindTheirLinkOrTheBuiltInPort)
{
    EXPECT_EQ(ResolvePortName("COM3"), Dir + "/COM3");
    EXPECT_EQ(ResolvePortName("com3"), Dir + "/COM3");
    EXPECT_EQ(ResolvePortName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortName("Com48"), "/dev/ttyS47");
    EXPECT_EQ(ResolvePortName("COM256"), "/dev/ttyS255");
}

TEST_F(PortNames, ALinkWhoseDeviceIsUnpluggedStillNamesThePort)
{
    // The adapter the user linked is gone: opening must fail on it rather than reach a built-in
    // port that happens to carry the same number.
    std::filesystem::create_symlink(Dir + "/ttyUSB-unplugged", Dir + "/COM1");
    EXPECT_EQ(ResolvePortName("COM1"), Dir + "/COM1");
}

TEST_F(PortNames, PathsPassUnchangedAndOtherNamesNameNoPort)
{
    for (const char* name : {"/dev/ttyUSB0", "./COM3", "/"})
        EXPECT_EQ(ResolvePortName(name), name) << name;
    for (const char* name : {"COM0", "COM257", "COM03", "COM", "COMX", "COM3 ", " COM3", "LPT1",
                             "COM1000", ""})
        EXPECT_EQ(ResolvePortName(name), "") << '"' << name << '"';
}

TEST_F(PortNames, TheDirectoryDefaultsToTheUsersOwn)
{
    unsetenv("OSTREL_SMT_PORTS");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::filesystem::create_directories(Dir + "/home/.ostrel-smt/ports");
    std::filesystem::create_symlink(Dir + "/target", Dir + "/home/.ostrel-smt/ports/COM9");
    setenv("HOME", (Dir + "/home").c_str(), 1);
    EXPECT_EQ(ResolvePortName("COM9"), Dir + "/home/.ostrel-smt/ports/COM9");
    EXPECT_EQ(ResolvePortName("COM3"), "/dev/ttyS2");
    // Without HOME, the home directory the system knows for the user.
    unsetenv("HOME");
    EXPECT_EQ(PortsDirectory(), std::string(getpwuid(getuid())->pw_dir) + "/.ostrel-smt/ports");
    setenv("HOME", home.c_str(), 1);
}

TEST_F(Device, AReadEndsAtTheGapAfterItsLastByte)
{
    Port->SetCommTimeouts({30, 0, 0, 0, 0});
    ASSERT_EQ(write(Master, "abc", 3), 3);
    uint8_t buffer[16];
    const auto start = TClock::now();
    const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
    EXPECT_EQ(r.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(r.Count, 3u);
    EXPECT_GE(MsSince(start), 29);
    EXPECT_LT(MsSince(start), 500);
}

// The reader wakes a little before the gap's deadline and watches the line itself until it
// passes; a read must still never end before the interval has passed since its last byte,
// which came no sooner than it was written.
TEST_F(Device, NoReadEndsBeforeTheIntervalAfterItsLastByte)
{
    Port->SetCommTimeouts({20, 0, 0, 0, 0});
    for (int round = 0; round < 10; ++round) {
        uint8_t buffer[16];
        const auto written = TClock::now();
        ASSERT_EQ(write(Master, "abc", 3), 3);
        const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
        const auto ended = TClock::now();
        EXPECT_EQ(r.Count, 3u);
        EXPECT_GE(ended - written, std::chrono::milliseconds(20)) << "round " << round;
    }
}

// The reader is held still (as a loaded machine may hold it) from before the gap's deadline
// until after the next bytes came: it then finds both at once, and the bytes must still open a
// block of their own, however late the reader saw them.
TEST(DeviceGap, BytesFoundTogetherWithThePassedDeadlineOpenTheNextRead)
{
    int master, slave;
    char path[256];
    ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
    termios t;
    for (int fd : {master, slave}) {
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    int blocks[2];
    ASSERT_EQ(pipe(blocks), 0);
    const pid_t reader = fork();
    if (reader == 0) {
        std::unique_ptr<TSerialDevice> port;
        TSerialDevice::Open(path, port);
        port->SetCommTimeouts({30, 0, 0, 0, 0});
        TEvent stop;
        for (int i = 0; i < 2; ++i) {
            char buffer[17] = {};
            port->Read(reinterpret_cast<uint8_t*>(buffer), 16, stop.Handle());
            [[maybe_unused]] auto w = write(blocks[1], buffer, sizeof buffer);
        }
        _exit(0);
    }
    const std::unique_ptr<const pid_t, void (*)(const pid_t*)> ended(&reader, [](const pid_t* P) {
        kill(*P, SIGKILL); // a reader that went wrong must not outlive the test
        waitpid(*P, nullptr, 0);
    });
    // The reader's state comes from /proc: what it is blocked in, and how many bytes its reads
    // have returned (a pseudo-terminal hands written bytes on through a worker, so an empty
    // input queue alone does not prove that the reader has them).
    const auto blockedIn = [&] {
        std::ifstream call("/proc/" + std::to_string(reader) + "/syscall");
        long number = -1;
        call >> number;
        return number;
    };
    const auto bytesRead = [&] {
        std::ifstream io("/proc/" + std::to_string(reader) + "/io");
        std::string key;
        long long value = -1;
        while (io >> key >> value)
            if (key == "rchar:")
                return value;
        return -1LL;
    };
    const auto waitFor = [](auto condition) {
        for (int tries = 0; tries < 5000 && !condition(); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return condition();
    };
    ASSERT_TRUE(waitFor([&] { return blockedIn() == SYS_ppoll; }));
    const long long before = bytesRead();
    ASSERT_EQ(write(master, "ab", 2), 2);
    ASSERT_TRUE(waitFor([&] { return bytesRead() >= before + 2 && blockedIn() == SYS_ppoll; }));
    kill(reader, SIGSTOP);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ASSERT_EQ(write(master, "cd", 2), 2);
    kill(reader, SIGCONT);
    std::string got[2];
    for (std::string& block : got) {
        char buffer[17];
        pollfd ready{blocks[0], POLLIN, 0};
        if (poll(&ready, 1, 3000) != 1 || read(blocks[0], buffer, sizeof buffer) != 17)
            break; // a merged block leaves the reader waiting for a second one
        block = buffer;
    }
    EXPECT_EQ(got[0], "ab");
    EXPECT_EQ(got[1], "cd");
    for (int fd : {blocks[0], blocks[1], master, slave})
        close(fd);
}

TEST_F(Device, AFullBufferEndsAReadAtOnceAndTheRestWaitsForTheNext)
{
    Port->SetCommTimeouts({5000, 0, 0, 0, 0});
    ASSERT_EQ(write(Master, "0123456789", 10), 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    uint8_t buffer[4];
    const auto start = TClock::now();
    for (const char* expected : {"0123", "4567"}) {
        const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
        ASSERT_EQ(r.Count, 4u);
        EXPECT_EQ(std::string(buffer, buffer + 4), expected);
    }
    EXPECT_LT(MsSince(start), 1000);
    Port->SetCommTimeouts({0xFFFFFFFF, 0, 0, 0, 0}); // return what is there
    const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
    EXPECT_EQ(std::string(buffer, buffer + r.Count), "89");
}

TEST_F(Device, TotalTimeOutsEndAnEmptyReadWithNoBytes)
{
    Port->SetCommTimeouts({100, 0, 40, 0, 0});
    uint8_t buffer[16];
    const auto start = TClock::now();
    const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
    EXPECT_EQ(r.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(r.Count, 0u);
    EXPECT_GE(MsSince(start), 39);
}

TEST_F(Device, StopWakesAWaitingRead)
{
    Port->SetCommTimeouts({100, 0, 0, 0, 0});
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        Stop.Set();
    });
    uint8_t buffer[16];
    const TIoResult r = Port->Read(buffer, sizeof buffer, Stop.Handle());
    stopper.join();
    EXPECT_EQ(r.Status, TIoResult::TStatus::Stopped);
}

TEST_F(Device, AWriteToAFullLineWaitsUntilStopped)
{
    const std::vector<uint8_t> bulk(1 << 20, 0x55);
    std::size_t written = 0;
    TIoResult r;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Stop.Set();
    });
    do {
        r = Port->Write(bulk.data() + written, bulk.size() - written, Stop.Handle());
        written += r.Count;
    } while (r.Status == TIoResult::TStatus::Completed && written < bulk.size());
    stopper.join();
    EXPECT_EQ(r.Status, TIoResult::TStatus::Stopped);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, bulk.size());
}

TEST_F(Device, TheFarEndClosingIsAHangUpForBothDirections)
{
    close(Master);
    Master = -1;
    uint8_t buffer[16];
    EXPECT_EQ(Port->Read(buffer, sizeof buffer, Stop.Handle()).Status,
              TIoResult::TStatus::HungUp);
    EXPECT_EQ(Port->Write(buffer, 1, Stop.Handle()).Status, TIoResult::TStatus::HungUp);
}

// A port keeps its old line settings when it refuses a block; whatever a previous program left
// there (line editing, echo, reads that end without bytes), the bytes must still pass raw.
TEST(DeviceOpening, ALineThatRefusesTheBlockStillCarriesRawBytes)
{
    int master, slave;
    char path[256];
    ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
    termios t;
    tcgetattr(slave, &t);
    t.c_lflag = (t.c_lflag & ~ICANON) | ECHO;
    t.c_iflag |= ICRNL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    tcsetattr(slave, TCSANOW, &t);
    std::unique_ptr<TSerialDevice> port;
    ASSERT_EQ(TSerialDevice::Open(path, port), TSerialDevice::TOpenResult::Opened);
    TDcb dcb;
    port->GetCommState(dcb);
    dcb.BaudRate = 0;
    EXPECT_FALSE(port->SetCommState(dcb));
    port->SetCommTimeouts({30, 0, 0, 0, 0});
    TEvent stop;

    // Nothing has arrived: the read waits instead of taking the empty line for a hang-up.
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        stop.Set();
    });
    uint8_t buffer[16];
    EXPECT_EQ(port->Read(buffer, sizeof buffer, stop.Handle()).Status,
              TIoResult::TStatus::Stopped);
    stopper.join();
    stop.Reset();

    ASSERT_EQ(write(master, "a\rb", 3), 3);
    const TIoResult r = port->Read(buffer, sizeof buffer, stop.Handle());
    EXPECT_EQ(r.Status, TIoResult::TStatus::Completed);
    EXPECT_EQ(std::string(buffer, buffer + r.Count), "a\rb");
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    char echoed[16];
    EXPECT_LE(read(master, echoed, sizeof echoed), 0); // nothing went back to the device
    port.reset();
    close(slave);
    close(master);
}

TEST_F(Device, PseudoTerminalsReportNoLineEvents)
{
    uint32_t errors = 1, modem = 1;
    Port->TakeLineEvents(errors, modem);
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(modem, 0u);
}
