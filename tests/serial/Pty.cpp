#include "tests/serial/Pty.h"

#include "framework/Application.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

TPortDir::TPortDir()
{
    char pattern[] = "/tmp/ostrel-ports-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
    if (const char* old = std::getenv("OSTREL_SMT_PORTS")) {
        FHadValue = true;
        FOldValue = old;
    }
    setenv("OSTREL_SMT_PORTS", FPath.c_str(), 1);
}

TPortDir::~TPortDir()
{
    if (FHadValue)
        setenv("OSTREL_SMT_PORTS", FOldValue.c_str(), 1);
    else
        unsetenv("OSTREL_SMT_PORTS");
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

void TPortDir::Link(const std::string& Name, const std::string& Target) const
{
    const std::string link = FPath + "/" + Name;
    unlink(link.c_str());
    if (symlink(Target.c_str(), link.c_str()) != 0)
        throw std::runtime_error("symlink failed");
}

TPty::TPty(const TPortDir& Dir, const std::string& Name)
{
    char path[256];
    if (openpty(&FMaster, &FSlave, path, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios t;
    for (int fd : {FMaster, FSlave}) {
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    fcntl(FMaster, F_SETFL, fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    Dir.Link(Name, path);
}

TPty::~TPty()
{
    CloseFarEnd();
    if (FSlave >= 0)
        close(FSlave);
}

void TPty::Write(const std::vector<uint8_t>& Bytes) const
{
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = write(FMaster, Bytes.data() + done, Bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("pty write failed");
        pollfd p{FMaster, POLLOUT, 0};
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
        pollfd p{FMaster, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        uint8_t chunk[4096];
        const ssize_t n = read(FMaster, chunk, std::min(sizeof chunk, Count - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), chunk, chunk + n);
    }
    return got;
}

termios TPty::LineSettings() const
{
    termios t{};
    tcgetattr(FSlave, &t);
    return t;
}

void TPty::SetLineSettings(const termios& T) const { tcsetattr(FSlave, TCSANOW, &T); }

void TPty::CloseFarEnd()
{
    if (FMaster >= 0)
        close(FMaster);
    FMaster = -1;
}

std::size_t TPty::Unread() const
{
    int count = 0;
    ioctl(FSlave, FIONREAD, &count);
    return static_cast<std::size_t>(count);
}

bool WaitFor(const std::function<bool()>& Done, int TimeoutMs)
{
    return Application->ProcessMessagesUntil(Done, TimeoutMs);
}

void Pump(int Ms)
{
    Application->ProcessMessagesUntil([] { return false; }, Ms);
}

std::vector<uint8_t> RandomBytes(std::size_t Count, unsigned Seed)
{
    std::mt19937 generator(Seed);
    std::vector<uint8_t> bytes(Count);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(generator());
    return bytes;
}
