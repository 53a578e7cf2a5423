// The whole station under load, in one run:
// - a flood of back-to-back 2048-byte blocks (the worst case: 4096 hex characters, 1024
//   samples and a chart repaint each) through a pseudo-terminal into the real window: blocks
//   handled per second, every one counted and no byte lost;
// - the user-interface thread's busy share at the 60 blocks per second that 1228800 baud
//   can carry;
// - time to the first paint and resident memory, each in a fresh process, beside a minimal Qt
//   window with the same controls.
// The machine is shared: start-up runs alternate and report medians.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/qt/NativeWidget.h"
#include "tests/serial/Pty.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int FloodBlocks = 3000;
constexpr int PacedRate = 60; // blocks per second
constexpr int PacedSeconds = 5;
constexpr int StartupRuns = 7;
constexpr std::size_t BlockSize = 2048;

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

long RssKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// A 2048-byte answer that passes its check: 2047 bytes and the low byte of their sum.
std::vector<std::uint8_t> Block(int Index)
{
    std::vector<std::uint8_t> block(BlockSize);
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < BlockSize; ++i)
        sum += block[i] = std::uint8_t(i * 7 + unsigned(Index));
    block.back() = std::uint8_t(sum);
    return block;
}

// --- start-up, in a child process -------------------------------------------------------

// The same controls as the station's window, in plain Qt, without behaviour.
QWidget* MinimalWindow()
{
    auto* w = new QWidget;
    w->setFixedSize(465, 277);
    w->setWindowTitle(ApplicationTitle);
    new QLabel("COM Port ：", w);
    new QLabel(w);
    for (int i = 0; i < 5; ++i) {
        auto* box = new QComboBox(w);
        box->setEditable(true);
        for (int k = 0; k < 48; ++k)
            box->addItem(QString::number(k));
    }
    for (const char* caption : {"退出", "KEYPAD", "MIC", "ALERT", "SIM", "SD", "RESET"})
        new QPushButton(caption, w);
    new QLineEdit(w);
    new QLineEdit(w);
    new QWidget(w); // where the chart sits
    return w;
}

// Prints milliseconds from Launched (the parent's clock when it started this process) and
// from main to the window's first paint, and the resident memory then.
int StartupChild(bool Station, long long LaunchedNs)
{
    const auto entered = TClock::now();
    int argc = 1;
    char name[] = "station";
    char* argv[] = {name, nullptr};
    TApplication app(argc, argv);
    app.SetTitle(ApplicationTitle);
    QWidget* window = nullptr;
    if (Station) {
        auto* form = new TForm1(&app);
        form->Show();
        window = NativeWidgetOf(*form);
    } else {
        window = MinimalWindow();
        window->show();
    }
    struct TFirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* E) override
        {
            if (E->type() == QEvent::Paint)
                Painted = true;
            return false;
        }
        bool Painted = false;
    } filter;
    window->installEventFilter(&filter);
    app.ProcessMessagesUntil([&] { return filter.Painted; }, 10000);
    const auto painted = TClock::now();
    const double fromLaunch = double(painted.time_since_epoch().count() - LaunchedNs) / 1e6;
    const double fromMain = std::chrono::duration<double, std::milli>(painted - entered).count();
    std::printf("%f %f %ld\n", fromLaunch, fromMain, RssKiB());
    if (!Station)
        delete window;
    return filter.Painted ? 0 : 1;
}

struct TStartup {
    double FromLaunchMs = 0, FromMainMs = 0;
    long RssKiB = 0;
};

TStartup RunStartupChild(const char* Kind)
{
    int pipes[2];
    if (pipe(pipes) != 0)
        return {};
    const std::string launched = std::to_string(TClock::now().time_since_epoch().count());
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipes[1], STDOUT_FILENO);
        close(pipes[0]);
        // Qt's notes about the offscreen platform, once per child, would bury the figures.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        execl("/proc/self/exe", "bench_station_window", "--startup", Kind, launched.c_str(),
              nullptr);
        _exit(127);
    }
    close(pipes[1]);
    char text[256] = {};
    const ssize_t n = read(pipes[0], text, sizeof text - 1);
    close(pipes[0]);
    waitpid(child, nullptr, 0);
    TStartup r;
    if (n > 0)
        std::sscanf(text, "%lf %lf %ld", &r.FromLaunchMs, &r.FromMainMs, &r.RssKiB);
    return r;
}

template <class T>
T Median(std::vector<T> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

// --- the flood and the paced line, in this process -------------------------------------

struct TCounts {
    long Blocks = 0;
    long Bytes = 0;
    long Paints = 0;
};

void Flood(TForm1& Form, const TPty& Line, TCounts& Counts, const char* Name)
{
    const std::vector<std::uint8_t> block = Block(1);
    const long total = long(FloodBlocks * BlockSize);
    const long before = Counts.Bytes;
    const std::int32_t countBefore = Form.PacketCount();
    const long blocksBefore = Counts.Blocks;
    const long paintsBefore = Counts.Paints;
    const auto start = TClock::now();
    std::thread writer([&] {
        for (int i = 0; i < FloodBlocks; ++i)
            Line.Write(block);
    });
    const bool all =
        Application->ProcessMessagesUntil([&] { return Counts.Bytes - before >= total; }, 120000);
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
    writer.join();
    const long blocks = Counts.Blocks - blocksBefore;
    const bool counted = Form.PacketCount() - countBefore == blocks;
    std::printf(
        "flood, %s: %d blocks of %zu bytes sent; %ld blocks handled in %.2f s = %.0f blocks/s "
        "(%.0f KiB/s), %ld chart paints; every byte %s, every block %s\n",
        Name, FloodBlocks, BlockSize, blocks, seconds, double(blocks) / seconds,
        double(Counts.Bytes - before) / 1024 / seconds, Counts.Paints - paintsBefore,
        all && Counts.Bytes - before == total ? "arrived" : "NOT arrived",
        counted ? "counted" : "NOT counted");
}

void Paced(const TPty& Line, TCounts& Counts)
{
    const std::vector<std::uint8_t> block = Block(2);
    const int count = PacedRate * PacedSeconds;
    const long blocksBefore = Counts.Blocks;
    const long paintsBefore = Counts.Paints;
    std::atomic<bool> done{false};
    const double cpuBefore = ThreadCpuSeconds();
    const auto start = TClock::now();
    std::thread writer([&] {
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_until(start +
                                          std::chrono::microseconds(i * 1000000 / PacedRate));
            Line.Write(block);
        }
        done = true;
    });
    Application->ProcessMessagesUntil([&] { return done && Counts.Blocks - blocksBefore >= count; },
                                      PacedSeconds * 1000 + 5000);
    const double wall = std::chrono::duration<double>(TClock::now() - start).count();
    const double busy = (ThreadCpuSeconds() - cpuBefore) / wall;
    writer.join();
    std::printf("paced: %d blocks at %d per second over %.2f s, %ld handled, %ld chart paints; "
                "user-interface thread busy %.1f %% of the time\n",
                count, PacedRate, wall, Counts.Blocks - blocksBefore, Counts.Paints - paintsBefore,
                busy * 100);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--startup") == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return StartupChild(std::strcmp(argv[2], "station") == 0, std::atoll(argv[3]));
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The device's end of the line, linked as COM1 for the station's children and itself.
    const TPortDir dir;
    const TPty line(dir);

    std::vector<double> stationMs, minimalMs, stationMainMs, minimalMainMs;
    std::vector<long> stationKiB, minimalKiB;
    for (int run = 0; run < StartupRuns; ++run) {
        const TStartup s = RunStartupChild("station");
        const TStartup m = RunStartupChild("minimal");
        stationMs.push_back(s.FromLaunchMs);
        stationMainMs.push_back(s.FromMainMs);
        stationKiB.push_back(s.RssKiB);
        minimalMs.push_back(m.FromLaunchMs);
        minimalMainMs.push_back(m.FromMainMs);
        minimalKiB.push_back(m.RssKiB);
    }
    std::printf("start-up to first paint, median of %d (from launch / from main): station "
                "%.1f / %.1f ms, minimal Qt window %.1f / %.1f ms, ratio %.2f (target <= 1.5)\n",
                StartupRuns, Median(stationMs), Median(stationMainMs), Median(minimalMs),
                Median(minimalMainMs), Median(stationMs) / Median(minimalMs));
    std::printf("resident memory at first paint, median: station %ld KiB, minimal %ld KiB, "
                "ratio %.2f (target <= 1.3)\n",
                Median(stationKiB), Median(minimalKiB),
                double(Median(stationKiB)) / double(Median(minimalKiB)));

    TApplication app(argc, argv);
    app.SetTitle(ApplicationTitle);
    auto* form = new TForm1(&app);
    form->Show();
    TCounts counts;
    bool paintEach = false;
    form->Comm1->OnReceiveData = [&](TObject* Sender, const void* Buffer, std::uint16_t Length) {
        ++counts.Blocks;
        counts.Bytes += Length;
        form->Comm1ReceiveData(Sender, Buffer, Length);
        if (paintEach)
            form->Chart1->Update();
    };
    form->Chart1->OnAfterDraw = [&](TObject*) { ++counts.Paints; };
    // As the window runs, the chart paints when the message loop is free, so a flood is
    // drawn now and then; the worst case paints after every block.
    Flood(*form, line, counts, "as the window paints");
    paintEach = true;
    Flood(*form, line, counts, "a chart paint after every block");
    paintEach = false;
    std::printf("  (target >= 600 blocks/s)\n");
    Paced(line, counts);
    std::printf("  (target < 10 %% busy)\n");
    return 0;
}
