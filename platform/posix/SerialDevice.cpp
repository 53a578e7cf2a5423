// The serial line over Linux terminal devices. There is no overlapped I/O here, so Read and
// Write wait with ppoll on the line and the stop handle together, and Read times the
// inter-byte gap itself; the terminal's own VMIN/VTIME are off.
#include "platform/SerialDevice.h"
#include "platform/posix/SerialMapping.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <linux/serial.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

using TClock = std::chrono::steady_clock;

// More than one read's worth of look-ahead, so a fast line costs one system call per several
// delivered blocks.
constexpr std::size_t LookAheadSize = 64 * 1024;
constexpr uint32_t MaxDword = 0xFFFFFFFF;

bool PortNumber(const std::string& Name, unsigned& Number)
{
    if (Name.size() < 4 || Name.size() > 6 || strncasecmp(Name.c_str(), "COM", 3) != 0 ||
        Name[3] == '0')
        return false;
    Number = 0;
    for (std::size_t i = 3; i < Name.size(); ++i) {
        if (Name[i] < '0' || Name[i] > '9')
            return false;
        Number = Number * 10 + static_cast<unsigned>(Name[i] - '0');
    }
    return Number >= 1 && Number <= 256;
}

class TPosixSerialDevice final : public TSerialDevice {
public:
    explicit TPosixSerialDevice(int Fd) : FFd(Fd), FLookAhead(new uint8_t[LookAheadSize])
    {
        termios2 t{};
        if (ioctl(FFd, TCGETS2, &t) == 0)
            FDcb = TermiosToDcb(t);
        FCounts = ReadCounts(FCountsValid);
    }

    ~TPosixSerialDevice() override
    {
        ioctl(FFd, TIOCNXCL);
        close(FFd);
    }

    bool SetupComm(uint32_t, uint32_t) override
    {
        // The kernel's queues have a fixed size; there is nothing to ask for.
        return true;
    }

    bool GetCommState(TDcb& Dcb) override
    {
        Dcb = FDcb;
        return true;
    }

    bool SetCommState(const TDcb& Dcb) override
    {
        termios2 t{};
        if (ioctl(FFd, TCGETS2, &t) != 0 || !DcbToTermios(Dcb, t) || ioctl(FFd, TCSETS2, &t) != 0)
            return false;
        int set, clear;
        DcbModemLines(Dcb, set, clear);
        // Lines without modem control (pseudo-terminals) refuse these; the data still flows.
        ioctl(FFd, TIOCMBIS, &set);
        ioctl(FFd, TIOCMBIC, &clear);
        FDcb = Dcb;
        return true;
    }

    bool SetCommTimeouts(const TCommTimeouts& Timeouts) override
    {
        FInterval = Timeouts.ReadIntervalTimeout;
        FTotalMultiplier = Timeouts.ReadTotalTimeoutMultiplier;
        FTotalConstant = Timeouts.ReadTotalTimeoutConstant;
        return true;
    }

    void Purge(uint32_t Flags) override
    {
        // Only the kernel's queues: the look-ahead belongs to the receive thread, which drops
        // it with the device.
        if (Flags & PurgeFlag::RxClear)
            ioctl(FFd, TCFLSH, TCIFLUSH);
        if (Flags & PurgeFlag::TxClear)
            ioctl(FFd, TCFLSH, TCOFLUSH);
    }

    TIoResult Read(uint8_t* Buffer, std::size_t Capacity, TWaitHandle Stop) override
    {
        // The total limit counts from here; the interval is looked up afresh at every wait, so
        // a changed time-out also governs the read already under way.
        const uint32_t multiplier = FTotalMultiplier, constant = FTotalConstant;
        const bool hasTotal = multiplier != 0 || constant != 0;
        const TClock::time_point totalEnd =
            TClock::now() + std::chrono::milliseconds(uint64_t(multiplier) * Capacity + constant);

        std::size_t count = 0;
        for (;;) {
            const std::size_t take = std::min(Capacity - count, FEnd - FBegin);
            std::memcpy(Buffer + count, FLookAhead.get() + FBegin, take);
            FBegin += take;
            count += take;
            if (count == Capacity)
                return {TIoResult::TStatus::Completed, count, 0};

            FBegin = FEnd = 0;
            const ssize_t n = read(FFd, FLookAhead.get(), LookAheadSize);
            if (n > 0) {
                FEnd = static_cast<std::size_t>(n);
                FLastArrival = TClock::now();
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN) {
                // The bytes already read go out first; the failure recurs on the next read.
                if (count > 0)
                    return {TIoResult::TStatus::Completed, count, 0};
                return {errno == EIO ? TIoResult::TStatus::HungUp : TIoResult::TStatus::Failed,
                        0, errno};
            }
            if (n == 0) {
                // End of file on a terminal: the far end has gone.
                if (count > 0)
                    return {TIoResult::TStatus::Completed, count, 0};
                return {TIoResult::TStatus::HungUp, 0, 0};
            }
            const uint32_t interval = FInterval;
            if (interval == MaxDword && !hasTotal)
                return {TIoResult::TStatus::Completed, count, 0};

            bool limited = hasTotal;
            TClock::time_point end = totalEnd;
            if (count > 0 && interval != 0) {
                const auto gapEnd = FLastArrival + std::chrono::milliseconds(interval);
                end = limited ? std::min(end, gapEnd) : gapEnd;
                limited = true;
            }
            const int ready = WaitReadable(Stop, limited, end);
            if (ready == 0)
                return {TIoResult::TStatus::Stopped, 0, 0};
            if (ready == WaitTimeout)
                return {TIoResult::TStatus::Completed, count, 0};
            if (ready == WaitFailed)
                return {TIoResult::TStatus::Failed, 0, errno};
        }
    }

    void TakeLineEvents(uint32_t& Errors, uint32_t& ModemEvent) override
    {
        Errors = 0;
        ModemEvent = 0;
        if (!FCountsValid)
            return;
        bool valid;
        const serial_icounter_struct now = ReadCounts(valid);
        if (!valid)
            return;
        Errors = (now.buf_overrun != FCounts.buf_overrun ? CommError::RxOver : 0) |
                 (now.overrun != FCounts.overrun ? CommError::Overrun : 0) |
                 (now.parity != FCounts.parity ? CommError::RxParity : 0) |
                 (now.frame != FCounts.frame ? CommError::Frame : 0) |
                 (now.brk != FCounts.brk ? CommError::Break : 0);
        ModemEvent = (now.dcd != FCounts.dcd ? 8u : 0u) | (now.rng != FCounts.rng ? 4u : 0u);
        FCounts = now;
    }

    TIoResult Write(const uint8_t* Buffer, std::size_t Length, TWaitHandle Stop) override
    {
        for (;;) {
            const ssize_t n = write(FFd, Buffer, Length);
            if (n >= 0)
                return {TIoResult::TStatus::Completed, static_cast<std::size_t>(n), 0};
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN)
                return {errno == EIO ? TIoResult::TStatus::HungUp : TIoResult::TStatus::Failed,
                        0, errno};
            pollfd fds[] = {{static_cast<int>(Stop.Value), POLLIN, 0}, {FFd, POLLOUT, 0}};
            const int ready = poll(fds, 2, -1);
            if (ready < 0 && errno != EINTR)
                return {TIoResult::TStatus::Failed, 0, errno};
            if (ready > 0 && fds[0].revents)
                return {TIoResult::TStatus::Stopped, 0, 0};
        }
    }

private:
    // 0 for Stop, 1 for the line, or WaitTimeout / WaitFailed.
    int WaitReadable(TWaitHandle Stop, bool Limited, TClock::time_point End)
    {
        pollfd fds[] = {{static_cast<int>(Stop.Value), POLLIN, 0}, {FFd, POLLIN, 0}};
        for (;;) {
            timespec limit{};
            if (Limited) {
                const auto left = std::max(End - TClock::now(), TClock::duration::zero());
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
                limit.tv_sec = ns / 1000000000;
                limit.tv_nsec = ns % 1000000000;
            }
            const int n = ppoll(fds, 2, Limited ? &limit : nullptr, nullptr);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return WaitFailed;
            if (n == 0)
                return WaitTimeout;
            return fds[0].revents ? 0 : 1;
        }
    }

    serial_icounter_struct ReadCounts(bool& Valid) const
    {
        serial_icounter_struct counts{};
        Valid = ioctl(FFd, TIOCGICOUNT, &counts) == 0;
        return counts;
    }

    const int FFd;
    TDcb FDcb;
    std::atomic<uint32_t> FInterval{0}, FTotalMultiplier{0}, FTotalConstant{0};

    // Receive thread only.
    std::unique_ptr<uint8_t[]> FLookAhead;
    std::size_t FBegin = 0, FEnd = 0;
    TClock::time_point FLastArrival;
    serial_icounter_struct FCounts{};
    bool FCountsValid = false;
};

} // namespace

std::string ResolvePortName(const std::string& Name)
{
    // A path is used as it is; COM1 to COM256 are looked for where the user (or the device
    // simulator) links them, then among the built-in serial ports. A link counts even when its
    // device is absent (an unplugged adapter), so the port fails to open instead of another
    // line answering under the same name.
    unsigned number;
    if (Name.find('/') != std::string::npos || !PortNumber(Name, number))
        return Name;
    std::string dir;
    if (const char* own = std::getenv("OSTREL_SMT_PORTS"); own && *own)
        dir = own;
    else if (const char* home = std::getenv("HOME"); home && *home)
        dir = std::string(home) + "/.ostrel-smt/ports";
    const std::string link = dir + "/COM" + std::to_string(number);
    struct stat st;
    if (!dir.empty() && lstat(link.c_str(), &st) == 0)
        return link;
    return "/dev/ttyS" + std::to_string(number - 1);
}

TSerialDevice::TOpenResult TSerialDevice::Open(const std::string& Name,
                                               std::unique_ptr<TSerialDevice>& Device)
{
    Device.reset();
    const std::string path = ResolvePortName(Name);
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EISDIR)
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return TOpenResult::OpenFailed;
    // TIOCEXCL does not stop root; the advisory lock stops every opener that takes it too.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return TOpenResult::OpenFailed;
    }
    termios2 t{};
    if (!isatty(fd) || ioctl(fd, TCGETS2, &t) != 0) {
        close(fd);
        return TOpenResult::NotACommDevice;
    }
    ioctl(fd, TIOCEXCL);
    // Whatever the last program left on the line, bytes pass raw from here on, even if the
    // port goes on to refuse the component's block.
    MakeRaw(t);
    ioctl(fd, TCSETS2, &t);
    Device = std::make_unique<TPosixSerialDevice>(fd);
    return TOpenResult::Opened;
}

} // namespace platform
