// The serial line over Linux terminal devices. There is no overlapped I/O here, so Read and
// Write wait with poll on the line and the stop handle together, and Read times the
// inter-byte gap itself; the terminal's own VMIN/VTIME are off.
//
// How a read is cut: every chunk of bytes is stamped with the moment the thread saw it arrive
// (the wake-up that announced it), and a read ends when more than the interval lies between
// two stamps. The wait for the gap sleeps on a timer armed at the absolute deadline, which
// the kernel keeps more closely than a relative poll time-out (that one may run late by a
// tenth of a per cent of its length). When bytes and the deadline are found together, the
// deadline has passed before the bytes were seen, so they open the next read: a late wake-up
// under load never merges two bursts.
//
// A thread asleep until a timer wakes a tenth of a millisecond or more past the moment asked
// for (on a virtual machine often several), while waking a sleeping thread from a running one
// takes a hundredth. So the gap's timer is set a little before the deadline and the thread
// watches the line itself for that last stretch: the block goes out as its deadline passes,
// for the stretch in processor time once per block.
#include "platform/SerialDevice.h"
#include "platform/posix/DeadlineTimer.h"
#include "platform/posix/Poll.h"
#include "platform/posix/SerialMapping.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <linux/serial.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace platform {

namespace {

using TClock = std::chrono::steady_clock;

constexpr uint32_t MaxDword = 0xFFFFFFFF;

class TPosixSerialDevice final : public TSerialDevice {
public:
    TPosixSerialDevice(int Fd, int Timer) : FFd(Fd), FTimer(Timer)
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
        close(FTimer);
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
        FReplacement.store(Dcb.Flags & DcbFlag::ErrorChar ? static_cast<uint8_t>(Dcb.ErrorChar)
                                                          : NoReplacement,
                           std::memory_order_relaxed);
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
        // Only the kernel's queues: bytes read ahead belong to the receive thread, which drops
        // them with the device.
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
        TClock::time_point last; // the stamp of the latest bytes in Buffer
        if (FSpilled > 0) {
            count = std::min(Capacity, FSpilled);
            std::memcpy(Buffer, FSpill + FSpillFrom, count);
            FSpillFrom += count;
            FSpilled -= count;
            last = FSpillStamp;
            if (count == Capacity)
                return {TIoResult::TStatus::Completed, count, 0};
        }
        bool readNow = true; // false after a short read: the line's queue was drained
        for (;;) {
            if (readNow) {
                // Bytes announced by the wake-up that ended the previous read carry its stamp.
                const TClock::time_point stamp = FAnnounced ? FAnnouncedAt : TClock::now();
                FAnnounced = false;
                const std::size_t asked = Capacity - count;
                const int replacement = FReplacement.load(std::memory_order_relaxed);
                // What the line holds beyond this read spills into the next one's start, so a
                // fast line costs one system call for two blocks. Marked bytes are decoded in
                // place and never spill.
                iovec parts[] = {{Buffer + count, asked}, {FSpill, sizeof FSpill}};
                const ssize_t n = readv(FFd, parts, replacement == NoReplacement ? 2 : 1);
                if (n > 0 && static_cast<std::size_t>(n) > asked) {
                    FSpillFrom = 0;
                    FSpilled = static_cast<std::size_t>(n) - asked;
                    FSpillStamp = stamp;
                    return {TIoResult::TStatus::Completed, Capacity, 0};
                }
                if (n > 0) {
                    count += replacement == NoReplacement
                                 ? static_cast<std::size_t>(n)
                                 : FMarks.Decode(Buffer + count, static_cast<std::size_t>(n),
                                                 static_cast<uint8_t>(replacement));
                    last = stamp;
                    if (count == Capacity)
                        return {TIoResult::TStatus::Completed, count, 0};
                    readNow = static_cast<std::size_t>(n) == asked;
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && errno != EAGAIN) {
                    // The bytes already read go out first; the failure recurs on the next read.
                    if (count > 0)
                        return {TIoResult::TStatus::Completed, count, 0};
                    return {errno == EIO ? TIoResult::TStatus::HungUp
                                         : TIoResult::TStatus::Failed,
                            0, errno};
                }
                if (n == 0) {
                    // End of file on a terminal: the far end has gone.
                    if (count > 0)
                        return {TIoResult::TStatus::Completed, count, 0};
                    return {TIoResult::TStatus::HungUp, 0, 0};
                }
            }
            const uint32_t interval = FInterval;
            if (interval == MaxDword && !hasTotal)
                return {TIoResult::TStatus::Completed, count, 0};

            const bool gapped = count > 0 && interval != 0;
            const TClock::time_point gapEnd = last + std::chrono::milliseconds(interval);
            const bool limited = hasTotal || gapped;
            const TClock::time_point end = hasTotal && gapped ? std::min(totalEnd, gapEnd)
                                           : hasTotal         ? totalEnd
                                                              : gapEnd;
            // A tenth of a short interval at most: a line whose bytes keep coming just inside
            // it would otherwise keep the thread spinning.
            const TClock::duration stretch =
                gapped ? std::min<TClock::duration>(LastStretch,
                                                    std::chrono::microseconds(interval) * 100)
                       : TClock::duration::zero();
            const TClock::time_point wakeAt = end - stretch;
            pollfd fds[] = {{static_cast<int>(Stop.Value), POLLIN, 0},
                            {FFd, POLLIN, 0},
                            {FTimer, POLLIN, 0}};
            int ready;
            TClock::time_point woke;
            if (limited && TClock::now() >= wakeAt) {
                // The last stretch, watched without sleeping.
                do {
                    ready = PollRestarting(fds, 2, 0);
                    woke = TClock::now();
                } while (ready == 0 && woke < end);
            } else {
                // Each chunk moves the deadline on; rather than re-arm the timer for every
                // chunk, an earlier deadline is left to fire, and the timer is then armed afresh.
                if (limited && (!FArmed || FArmedAt > wakeAt)) {
                    if (!ArmDeadlineTimer(FTimer, wakeAt))
                        return {TIoResult::TStatus::Failed, 0, errno};
                    FArmed = true;
                    FArmedAt = wakeAt;
                }
                ready = PollRestarting(fds, limited ? 3 : 2, -1);
                woke = TClock::now();
            }
            if (ready < 0)
                return {TIoResult::TStatus::Failed, 0, errno};
            if (fds[0].revents)
                return {TIoResult::TStatus::Stopped, 0, 0};
            const bool fired = limited && fds[2].revents;
            if (fired)
                FArmed = false;
            readNow = fds[1].revents != 0;
            if (readNow) {
                FAnnounced = true;
                FAnnouncedAt = woke;
            }
            // Bytes found together with the deadline arrived after it: they open the next read.
            if (limited && (woke >= end || (fired && FArmedAt >= end)))
                return {TIoResult::TStatus::Completed, count, 0};
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
        ModemEvent = (now.dcd != FCounts.dcd ? CommModem::Carrier : 0) |
                     (now.rng != FCounts.rng ? CommModem::Ring : 0);
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
            if (PollRestarting(fds, 2, -1) < 0)
                return {TIoResult::TStatus::Failed, 0, errno};
            if (fds[0].revents)
                return {TIoResult::TStatus::Stopped, 0, 0};
        }
    }

private:
    // Any byte value may be the replacement, so "none" lies outside them.
    static constexpr int NoReplacement = -1;
    // How long before a gap's deadline the thread stops sleeping: past the usual lateness of
    // a timer's wake-up here, and well short of anything that costs in processor time.
    static constexpr std::chrono::microseconds LastStretch{300};

    serial_icounter_struct ReadCounts(bool& Valid) const
    {
        serial_icounter_struct counts{};
        Valid = ioctl(FFd, TIOCGICOUNT, &counts) == 0;
        return counts;
    }

    const int FFd;
    const int FTimer; // the receive thread's gap deadline
    TDcb FDcb;
    std::atomic<uint32_t> FInterval{0}, FTotalMultiplier{0}, FTotalConstant{0};
    std::atomic<int> FReplacement{NoReplacement};

    // Receive thread only.
    TMarkDecoder FMarks;
    uint8_t FSpill[2048];
    std::size_t FSpillFrom = 0, FSpilled = 0;
    TClock::time_point FSpillStamp;
    bool FArmed = false; // the timer is set to FArmedAt and has not been seen to fire
    TClock::time_point FArmedAt;
    bool FAnnounced = false;
    TClock::time_point FAnnouncedAt;
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
    // Any other name is no port, and is never looked up relative to the working directory.
    if (Name.find('/') != std::string::npos)
        return Name;
    unsigned number;
    if (!ComPortNumber(Name, number))
        return "";
    const std::string dir = PortsDirectory();
    const std::string link = dir + "/COM" + std::to_string(number);
    struct stat st;
    if (!dir.empty() && lstat(link.c_str(), &st) == 0)
        return link;
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string PortsDirectory()
{
    if (const char* own = std::getenv("OSTREL_SMT_PORTS"); own && *own)
        return own;
    // Without HOME (a service, a stripped environment) the user is still known.
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else {
        passwd entry{}, *found = nullptr;
        char strings[4096];
        if (getpwuid_r(getuid(), &entry, strings, sizeof strings, &found) == 0 && found &&
            found->pw_dir && *found->pw_dir)
            home = found->pw_dir;
    }
    return home.empty() ? "" : home + "/.ostrel-smt/ports";
}

TSerialDevice::TOpenResult TSerialDevice::Open(const std::string& Name,
                                               std::unique_ptr<TSerialDevice>& Device)
{
    Device.reset();
    const std::string path = ResolvePortName(Name);
    if (path.empty())
        return TOpenResult::OpenFailed;
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
    // Root passes TIOCEXCL, and another program need not take the advisory lock: a line it holds
    // exclusively would then have two readers, each getting part of the bytes.
    int heldElsewhere = 0;
    const int timer = CreateDeadlineTimer();
    if ((ioctl(fd, TIOCGEXCL, &heldElsewhere) == 0 && heldElsewhere) || timer < 0) {
        if (timer >= 0)
            close(timer);
        close(fd);
        return TOpenResult::OpenFailed;
    }
    ioctl(fd, TIOCEXCL);
    // Whatever the last program left on the line, bytes pass raw from here on, even if the
    // port goes on to refuse the component's block.
    MakeRaw(t);
    ioctl(fd, TCSETS2, &t);
    Device = std::make_unique<TPosixSerialDevice>(fd, timer);
    return TOpenResult::Opened;
}

} // namespace platform
