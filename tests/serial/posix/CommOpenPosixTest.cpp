// Opening by the names and paths of POSIX systems, and lines that other programs hold.
#include "tests/serial/CommFixture.h"
#include "tests/serial/posix/PtyPosix.h"

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

TEST_F(CommTest, EachOpeningErrorLeavesTheComponentClosedAndReusable)
{
    const std::string file = PortPath(Dir) + "/plain-file";
    std::ofstream(file) << "not a line";
    ExpectOpeningErrors({
        {"COM200", "Error opening serial port"},        // nothing linked, no /dev/ttyS199
        {PortPath(Dir) + "/absent", "Error opening serial port"},
        {"", "Error opening serial port"},
        {file, "File handle is not a comm handle "},
        {PortPath(Dir), "File handle is not a comm handle "},
        {"/dev/null", "File handle is not a comm handle "},
    });
}

// Holds the line the way another program would, in a child process, until released.
class THolder {
public:
    THolder(const std::string& Path, bool (*Hold)(int Fd))
    {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        FChild = fork();
        if (FChild == 0) {
            close(release[1]);
            const int fd = open(Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char held = fd >= 0 && Hold(fd) ? 1 : 0;
            [[maybe_unused]] auto w = write(ready[1], &held, 1);
            char c;
            [[maybe_unused]] auto r = read(release[0], &c, 1);
            // The exclusive flag outlives a close while others hold the line open (here the
            // test's own end of it); a real program's last close clears it.
            ioctl(fd, TIOCNXCL);
            _exit(0);
        }
        char held = 0;
        Held = read(ready[0], &held, 1) == 1 && held == 1;
        FRelease = release[1];
        for (int fd : {ready[0], ready[1], release[0]})
            close(fd);
    }
    ~THolder()
    {
        close(FRelease);
        waitpid(FChild, nullptr, 0);
    }
    bool Held = false;

private:
    pid_t FChild = -1;
    int FRelease = -1;
};

TEST_F(CommTest, APortHeldByAnotherProgramCannotBeOpened)
{
    // The advisory lock binds programs that take it too; most serial programs only make the
    // line exclusive, which a process running as root would otherwise pass.
    const std::pair<const char*, bool (*)(int)> ways[] = {
        {"flock", [](int Fd) { return flock(Fd, LOCK_EX | LOCK_NB) == 0; }},
        {"TIOCEXCL", [](int Fd) { return ioctl(Fd, TIOCEXCL) == 0; }},
    };
    for (const auto& [way, hold] : ways) {
        {
            THolder holder(PortPath(Dir) + "/COM1", hold);
            ASSERT_TRUE(holder.Held) << way;
            EXPECT_EQ(OpenError(Comm), "Error opening serial port") << way;
            EXPECT_FALSE(Comm.Opened()) << way;
        }
        Open();
        EXPECT_TRUE(Comm.Opened()) << way;
        Comm.ClosePort();
    }
}

TEST_F(CommTest, NamesThatAreNoPortNeverReachTheWorkingDirectory)
{
    // Stray files in the working directory, one of them even a link to a working line.
    const std::string names[] = {"COM0", "COM257", "COM1 ", "COM01", "LPT1", "com"};
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(PortPath(Dir));
    for (const std::string& name : names)
        std::ofstream(name) << "stray";
    std::filesystem::remove("COM0");
    std::filesystem::create_symlink(std::filesystem::read_symlink(PortPath(Dir) + "/COM1"), "COM0");
    for (const std::string& name : names) {
        Comm.SetCommName(name);
        EXPECT_EQ(OpenError(Comm), "Error opening serial port") << '"' << name << '"';
        EXPECT_FALSE(Comm.Opened());
    }
    std::filesystem::current_path(cwd);
}
