// The simulated device on a pseudo-terminal: POSIX only, since that is where the station is
// tried out without hardware. It links the terminal where the station looks for COM1 (or the
// port named) and answers every test frame until it is stopped; it removes its link then.
#include "platform/SerialDevice.h"
#include "tools/SimulatedDevice.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) { gStop = 1; }

struct TOptions {
    std::string Port = "COM1";
    int Samples = 300;
    int CorruptEvery = 0;
    bool Noise = false;
    bool Silent = false;
};

constexpr int kBurstSamples = 2500; // 5001 bytes: the station reads it as 3 blocks or more
constexpr int kMaxSamples = 30000;
constexpr auto kNoiseAfterIdle = std::chrono::milliseconds(1500);

bool WriteAll(int fd, const std::uint8_t* data, std::size_t length)
{
    while (length > 0 && !gStop) {
        const ssize_t n = write(fd, data, length);
        if (n > 0) {
            data += n;
            length -= std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

void Usage()
{
    std::fprintf(
        stderr,
        "usage: ostrel-smt-sim [--port COMn] [--samples N] [--burst] [--corrupt-every N]\n"
        "                      [--noise] [--silent]\n"
        "Answers the station's test frames on a pseudo-terminal linked as COMn in\n"
        "$OSTREL_SMT_PORTS (default ~/.ostrel-smt/ports).\n"
        "  --samples N        samples in the MIC, ALERT and SD answers (1 to %d, default 300)\n"
        "  --burst            answers of %d samples, longer than one received block\n"
        "  --corrupt-every N  a wrong checksum in every Nth answer\n"
        "  --noise            a few random bytes on the line whenever it has been quiet\n"
        "                     for %lld ms\n"
        "  --silent           read and report frames, answer nothing\n",
        kMaxSamples, kBurstSamples, static_cast<long long>(kNoiseAfterIdle.count()));
}

bool ParseOptions(int argc, char** argv, TOptions& O)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue)
            O.Port = argv[++i];
        else if (arg == "--samples" && hasValue)
            O.Samples = std::atoi(argv[++i]);
        else if (arg == "--corrupt-every" && hasValue)
            O.CorruptEvery = std::atoi(argv[++i]);
        else if (arg == "--burst")
            O.Samples = kBurstSamples;
        else if (arg == "--noise")
            O.Noise = true;
        else if (arg == "--silent")
            O.Silent = true;
        else
            return false;
    }
    return O.Samples >= 1 && O.Samples <= kMaxSamples && O.CorruptEvery >= 0;
}

std::string Hex(const sim::TBytes& Bytes)
{
    std::string text;
    char two[4];
    for (std::uint8_t b : Bytes) {
        std::snprintf(two, sizeof two, "%02X ", b);
        text += two;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }
    const std::string dir = platform::PortsDirectory();
    if (dir.empty()) {
        std::fprintf(stderr, "ostrel-smt-sim: no home directory: set OSTREL_SMT_PORTS\n");
        return 1;
    }

    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    if (openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
        std::perror("ostrel-smt-sim: openpty");
        return 1;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    const std::filesystem::path link = std::filesystem::path(dir) / options.Port;
    std::error_code ec;
    std::filesystem::create_directories(link.parent_path(), ec);
    if (std::filesystem::is_symlink(link, ec))
        std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(slaveName, link, ec);
    if (ec) {
        std::fprintf(stderr, "ostrel-smt-sim: cannot link %s: %s\n", link.c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::printf("ostrel-smt-sim: %s -> %s\n", link.c_str(), slaveName);
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);

    using TClock = std::chrono::steady_clock;
    std::minstd_rand random(12345);
    sim::TFrameScanner scanner;
    long answered = 0;
    auto lastTraffic = TClock::now();
    std::uint8_t buffer[4096];
    while (!gStop) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            if (options.Noise && TClock::now() - lastTraffic >= kNoiseAfterIdle) {
                sim::TBytes noise(1 + random() % 6);
                for (std::uint8_t& b : noise)
                    b = std::uint8_t(random());
                WriteAll(master, noise.data(), noise.size());
                lastTraffic = TClock::now();
            }
            continue;
        }
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        lastTraffic = TClock::now();
        for (const sim::TScanEvent& e : scanner.Feed(buffer, std::size_t(n))) {
            if (e.Kind == sim::TScanEvent::TKind::BadFrame) {
                std::fprintf(stderr, "ostrel-smt-sim: not a test frame, no answer: %s\n",
                             Hex(e.Bytes).c_str());
                continue;
            }
            if (e.Kind == sim::TScanEvent::TKind::Skipped) {
                std::fprintf(stderr, "ostrel-smt-sim: %zu bytes without a frame sync: %s\n",
                             e.Bytes.size(), Hex(e.Bytes).c_str());
                continue;
            }
            if (options.Silent) {
                std::fprintf(stderr, "ostrel-smt-sim: command %d, not answered\n", e.Code);
                continue;
            }
            ++answered;
            const bool corrupt = options.CorruptEvery > 0 && answered % options.CorruptEvery == 0;
            const sim::TBytes block = sim::BuildResponse(e.Code, options.Samples, corrupt);
            if (!WriteAll(master, block.data(), block.size()))
                gStop = 1;
            std::printf("ostrel-smt-sim: answered command %d with %zu bytes%s\n", e.Code,
                        block.size(), corrupt ? ", wrong checksum" : "");
            std::fflush(stdout);
            lastTraffic = TClock::now();
        }
    }
    // The slave is kept open until here so that the station may close and reopen its side.
    std::filesystem::remove(link, ec);
    close(slave);
    close(master);
    return 0;
}
