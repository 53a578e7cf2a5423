#include "tests/serial/posix/PtyPosix.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

struct TPortDir::TImpl {
    std::string Path;
    std::string OldValue;
    bool HadValue = false;
};

struct TPty::TImpl {
    int Master = -1;
    int Slave = -1;
};

TPortDir::TPortDir() : FImpl(std::make_unique<TImpl>())
{
    char pattern[] = "/tmp/ostrel-ports-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    FImpl->Path = pattern;
    if (const char* old = std::getenv("OSTREL_SMT_PORTS")) {
        FImpl->HadValue = true;
        FImpl->OldValue = old;
    }
    setenv("OSTREL_SMT_PORTS", FImpl->Path.c_str(), 1);
}

TPortDir::~TPortDir()
{
    if (FImpl->HadValue)
        setenv("OSTREL_SMT_PORTS", FImpl->OldValue.c_str(), 1);
    else
        unsetenv("OSTREL_SMT_PORTS");
    std::error_code ignored;
    std::filesystem::remove_all(FImpl->Path, ignored);
}

const std::string& PortPath(const TPortDir& Dir) { return Dir.Impl().Path; }

void LinkPort(const TPortDir& Dir, const std::string& Name, const std::string& Target)
{
    const std::string link = PortPath(Dir) + "/" + Name;
    unlink(link.c_str());
    if (symlink(Target.c_str(), link.c_str()) != 0)
        throw std::runtime_error("symlink failed");
}

TPty::TPty(const TPortDir& Dir, const std::string& Name) : FImpl(std::make_unique<TImpl>())
{
    char path[256];
    if (openpty(&FImpl->Master, &FImpl->Slave, path, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios t;
    for (int fd : {FImpl->Master, FImpl->Slave}) {
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    fcntl(FImpl->Master, F_SETFL, fcntl(FImpl->Master, F_GETFL) | O_NONBLOCK);
    LinkPort(Dir, Name, path);
}

TPty::~TPty()
{
    CloseFarEnd();
    if (FImpl->Slave >= 0)
        close(FImpl->Slave);
}

void TPty::Write(const std::vector<uint8_t>& Bytes) const
{
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = write(FImpl->Master, Bytes.data() + done, Bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("pty write failed");
        pollfd p{FImpl->Master, POLLOUT, 0};
        if (poll(&p, 1, 5000) == 0)
            throw std::runtime_error("pty write stalled");
    }
}

std::vector<uint8_t> TPty::Read(std::size_t Count, int TimeoutMs) const
{
    std::vector<uint8_t> got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (got.size() < Count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd p{FImpl->Master, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        uint8_t chunk[4096];
        const ssize_t n = read(FImpl->Master, chunk, std::min(sizeof chunk, Count - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), chunk, chunk + n);
    }
    return got;
}

void TPty::CloseFarEnd()
{
    if (FImpl->Master >= 0)
        close(FImpl->Master);
    FImpl->Master = -1;
}

termios LineSettings(const TPty& Line)
{
    termios t{};
    tcgetattr(Line.Impl().Slave, &t);
    return t;
}

void SetLineSettings(const TPty& Line, const termios& T)
{
    tcsetattr(Line.Impl().Slave, TCSANOW, &T);
}

std::size_t Unread(const TPty& Line)
{
    int count = 0;
    ioctl(Line.Impl().Slave, FIONREAD, &count);
    return static_cast<std::size_t>(count);
}
