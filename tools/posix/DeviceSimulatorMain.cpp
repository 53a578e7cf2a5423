// The simulated device on a pseudo-terminal: POSIX only, since that is where the station is
// tried out without hardware. It links the terminal where the station looks for COM1 (or the
// name given) and answers every test frame until it is stopped.
#include "platform/SerialDevice.h"
#include "tools/SimulatedDevice.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) { gStop = 1; }

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
    std::fprintf(stderr,
                 "usage: ostrel-smt-sim [--port COMn] [--samples N] [--corrupt-every N]\n"
                 "Answers the station's test frames on a pseudo-terminal linked as\n"
                 "$OSTREL_SMT_PORTS/COMn (default ~/.ostrel-smt/ports/COM1).\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::string port = "COM1";
    int samples = 512;
    int corruptEvery = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc)
            port = argv[++i];
        else if (arg == "--samples" && i + 1 < argc)
            samples = std::atoi(argv[++i]);
        else if (arg == "--corrupt-every" && i + 1 < argc)
            corruptEvery = std::atoi(argv[++i]);
        else {
            Usage();
            return 2;
        }
    }
    if (samples < 0 || samples > 1023) {
        std::fprintf(stderr, "ostrel-smt-sim: --samples must be 0 to 1023 (one block)\n");
        return 2;
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

    // The station finds the line only where it looks itself.
    const std::string dir = platform::PortsDirectory();
    if (dir.empty()) {
        std::fprintf(stderr, "ostrel-smt-sim: no ports directory: set OSTREL_SMT_PORTS or HOME\n");
        return 1;
    }
    const std::filesystem::path link = std::filesystem::path(dir) / port;
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

    sim::TFrameScanner scanner;
    long answered = 0;
    std::uint8_t buffer[4096];
    while (!gStop) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        for (std::uint8_t code : scanner.Feed(buffer, std::size_t(n))) {
            ++answered;
            const bool corrupt = corruptEvery > 0 && answered % corruptEvery == 0;
            const sim::TBytes block = sim::BuildResponse(code, samples, corrupt);
            if (!WriteAll(master, block.data(), block.size()))
                gStop = 1;
        }
    }
    // The slave is kept open until here so that the station may close and reopen its side.
    std::filesystem::remove(link, ec);
    close(slave);
    close(master);
    return 0;
}
