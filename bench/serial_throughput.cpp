// How fast and how promptly TComm hands received bytes to the user-interface thread, over a
// pseudo-terminal, against a plain reader on Qt's serial port class fed the same streams, and
// whether two bursts just over the interval apart stay two blocks while a core is busy.
// Each measurement runs in a child process of its own, so peak memory is its own.
#include "framework/Application.h"
#include "serial/Comm.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

constexpr std::size_t StreamBytes = 64u << 20;
constexpr int Bursts = 100;
constexpr int BurstPauseOver = 25; // ms between bursts beyond the interval time-out
constexpr int SplitTries = 100;
constexpr int SplitGapMs = 101; // against the station's interval of 100 ms

uint8_t Pattern(std::size_t At) { return static_cast<uint8_t>(At * 131 + (At >> 13)); }

double CpuSeconds(clockid_t Clock)
{
    timespec t{};
    clock_gettime(Clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The command line each measured application is given; it outlives the application.
struct TArgs {
    int Argc = 1;
    char Name[6] = "bench";
    char* Argv[2] = {Name, nullptr};
};

struct TResult {
    bool Ok = false;
    double Seconds = 0;
    double CpuSeconds = 0;
    double PeakRssMiB = 0;
    double LatencyMedianMs = 0;
    double LatencyP99Ms = 0;
    int Splits = 0;             // tries whose two bursts arrived as two blocks
    double GapMedianMs = 0;     // the pauses the writer actually made
    double GapMaxMs = 0;
    long Switches = 0; // context switches of the whole process while streaming
};

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values.empty() ? 0 : Values[Values.size() / 2];
}

// The far end: a raw pseudo-terminal whose master this process writes.
struct TLine {
    TLine()
    {
        char path[256];
        int slave;
        openpty(&Master, &slave, path, nullptr, nullptr);
        termios t;
        for (int fd : {Master, slave}) {
            tcgetattr(fd, &t);
            cfmakeraw(&t);
            tcsetattr(fd, TCSANOW, &t);
        }
        SlaveFd = slave; // kept open so the line survives between openers
        SlavePath = path;
    }
    ~TLine()
    {
        close(Master);
        close(SlaveFd);
    }
    void WriteAll(const uint8_t* Bytes, std::size_t Count) const
    {
        while (Count > 0) {
            const ssize_t n = write(Master, Bytes, Count);
            if (n <= 0)
                return;
            Bytes += n;
            Count -= static_cast<std::size_t>(n);
        }
    }
    int Master = -1;
    int SlaveFd = -1;
    std::string SlavePath;
};

// Streams the pattern; answers the CPU seconds the writer itself used.
double StreamPattern(const TLine& Line)
{
    const double start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    std::vector<uint8_t> chunk(64 * 1024);
    for (std::size_t at = 0; at < StreamBytes; at += chunk.size()) {
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = Pattern(at + i);
        Line.WriteAll(chunk.data(), chunk.size());
    }
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
}

// Bursts of 1 to 2048 bytes with pauses; fills End with the time each burst's last byte went.
void SendBursts(const TLine& Line, std::vector<TClock::time_point>& End, int PauseMs)
{
    std::vector<uint8_t> burst(2048);
    for (int i = 0; i < Bursts; ++i) {
        const std::size_t size = 1 + (static_cast<std::size_t>(i) * 2654435761u) % 2048;
        for (std::size_t k = 0; k < size; ++k)
            burst[k] = static_cast<uint8_t>(i + k);
        Line.WriteAll(burst.data(), size);
        End[i] = TClock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(PauseMs));
    }
}

// Delivery minus last byte minus Subtract, median and 99th percentile in ms.
void Latencies(const std::vector<TClock::time_point>& End,
               const std::vector<TClock::time_point>& Delivered, double SubtractMs, TResult& R)
{
    std::vector<double> ms;
    for (std::size_t i = 0; i < End.size(); ++i)
        ms.push_back(std::chrono::duration<double, std::milli>(Delivered[i] - End[i]).count() -
                     SubtractMs);
    std::sort(ms.begin(), ms.end());
    R.LatencyMedianMs = ms[ms.size() / 2];
    R.LatencyP99Ms = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

long ContextSwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

double PeakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// TComm on a fresh line, in an application of its own; the message loop runs as the station
// runs it, asleep until something arrives.
struct TCommSide {
    TCommSide() { Comm.SetCommName(Line.SlavePath); }
    TArgs Args;
    TApplication App{Args.Argc, Args.Argv, TApplication::TKind::Console};
    TLine Line;
    TComm Comm{nullptr};
};

TResult CommThroughput()
{
    TCommSide side;
    auto& [args, app, line, comm] = side;
    std::size_t received = 0;
    bool intact = true;
    comm.OnReceiveData = [&](TObject*, const void* Buffer, uint16_t Length) {
        const auto* bytes = static_cast<const uint8_t*>(Buffer);
        for (uint16_t i = 0; i < Length; ++i)
            intact = intact && bytes[i] == Pattern(received + i);
        received += Length;
        if (received >= StreamBytes)
            app.Terminate();
    };
    comm.OpenPort();
    app.ProcessMessages();
    QTimer::singleShot(120000, [&] { app.Terminate(); });
    TResult r;
    const double cpu0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const long switches0 = ContextSwitches();
    const auto t0 = TClock::now();
    double writerCpu = 0;
    std::thread writer([&] { writerCpu = StreamPattern(line); });
    app.Run();
    const bool all = received >= StreamBytes;
    r.Seconds = std::chrono::duration<double>(TClock::now() - t0).count();
    writer.join();
    r.CpuSeconds = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0 - writerCpu;
    r.Switches = ContextSwitches() - switches0;
    comm.ClosePort();
    r.Ok = all && intact && received == StreamBytes;
    r.PeakRssMiB = PeakRssMiB();
    return r;
}

// The peer: a plain Qt serial port reader on the far side of a fresh line, in its own
// application.
struct TPeer {
    TArgs Args;
    QCoreApplication App{Args.Argc, Args.Argv};
    TLine Line;
    QSerialPort Port{QString::fromStdString(Line.SlavePath)};
};

TResult PeerThroughput()
{
    TPeer peer;
    auto& [args, app, line, port] = peer;
    TResult r;
    if (!port.open(QIODevice::ReadOnly))
        return r;
    std::size_t received = 0;
    bool intact = true;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        const QByteArray bytes = port.readAll();
        for (qsizetype i = 0; i < bytes.size(); ++i)
            intact = intact && static_cast<uint8_t>(bytes[i]) == Pattern(received + i);
        received += static_cast<std::size_t>(bytes.size());
        if (received >= StreamBytes)
            app.quit();
    });
    const double cpu0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const long switches0 = ContextSwitches();
    const auto t0 = TClock::now();
    double writerCpu = 0;
    std::thread writer([&] { writerCpu = StreamPattern(line); });
    app.exec();
    r.Seconds = std::chrono::duration<double>(TClock::now() - t0).count();
    writer.join();
    r.CpuSeconds = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0 - writerCpu;
    r.Switches = ContextSwitches() - switches0;
    r.Ok = intact && received == StreamBytes;
    r.PeakRssMiB = PeakRssMiB();
    return r;
}

TResult CommLatency(uint32_t Interval)
{
    TCommSide side;
    auto& [args, app, line, comm] = side;
    comm.SetReadIntervalTimeout(Interval);
    std::vector<TClock::time_point> end(Bursts), delivered(Bursts);
    int blocks = 0;
    bool intact = true;
    comm.OnReceiveData = [&](TObject*, const void* Buffer, uint16_t Length) {
        const auto stamp = TClock::now();
        const std::size_t size = 1 + (static_cast<std::size_t>(blocks) * 2654435761u) % 2048;
        intact = intact && blocks < Bursts && Length == size &&
                 static_cast<const uint8_t*>(Buffer)[0] == static_cast<uint8_t>(blocks);
        if (blocks < Bursts)
            delivered[blocks] = stamp;
        if (++blocks == Bursts)
            app.Terminate();
    };
    comm.OpenPort();
    app.ProcessMessages();
    QTimer::singleShot(60000, [&] { app.Terminate(); });
    std::thread writer([&] { SendBursts(line, end, static_cast<int>(Interval) + BurstPauseOver); });
    app.Run();
    const bool all = blocks >= Bursts;
    writer.join();
    comm.ClosePort();
    TResult r;
    r.Ok = all && intact && blocks == Bursts;
    if (r.Ok)
        Latencies(end, delivered, Interval, r);
    return r;
}

// Keeps one core busy until destroyed, as another program on the station's PC might.
struct TBusyCore {
    TBusyCore()
    {
        Child = fork();
        if (Child == 0)
            for (std::atomic<unsigned long> spin = 0;;)
                spin.fetch_add(1, std::memory_order_relaxed);
    }
    ~TBusyCore()
    {
        kill(Child, SIGKILL);
        waitpid(Child, nullptr, 0);
    }
    pid_t Child;
};

// Two 8-byte bursts SplitGapMs apart, SplitTries times, at the station's interval of 100 ms.
TResult CommSplit()
{
    TCommSide side;
    auto& [args, app, line, comm] = side;
    int splits = 0;
    comm.OnReceiveData = [&](TObject*, const void* Buffer, uint16_t Length) {
        // The second burst of a try starts with an odd byte; alone it is 8 bytes long.
        splits += Length == 8 && static_cast<const uint8_t*>(Buffer)[0] % 2 == 1;
    };
    comm.OpenPort();
    app.ProcessMessages();
    TBusyCore busy;
    std::vector<double> gaps;
    std::thread writer([&] {
        for (int i = 0; i < SplitTries; ++i) {
            const std::vector<uint8_t> first(8, static_cast<uint8_t>(2 * i));
            const std::vector<uint8_t> second(8, static_cast<uint8_t>(2 * i + 1));
            line.WriteAll(first.data(), first.size());
            const auto sent = TClock::now();
            std::this_thread::sleep_until(sent + std::chrono::milliseconds(SplitGapMs));
            line.WriteAll(second.data(), second.size());
            gaps.push_back(std::chrono::duration<double, std::milli>(TClock::now() - sent).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { app.Terminate(); }, Qt::QueuedConnection);
    });
    app.Run();
    writer.join();
    comm.ClosePort();
    TResult r;
    r.Ok = true;
    r.Splits = splits;
    r.GapMedianMs = Median(gaps);
    r.GapMaxMs = gaps.empty() ? 0 : *std::max_element(gaps.begin(), gaps.end());
    return r;
}

TResult PeerLatency()
{
    TPeer peer;
    auto& [args, app, line, port] = peer;
    TResult r;
    if (!port.open(QIODevice::ReadOnly))
        return r;
    std::vector<TClock::time_point> end(Bursts), delivered(Bursts);
    std::size_t received = 0, expected = 0;
    int bursts = 0;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        received += static_cast<std::size_t>(port.readAll().size());
        while (bursts < Bursts) {
            const std::size_t size = 1 + (static_cast<std::size_t>(bursts) * 2654435761u) % 2048;
            if (received < expected + size)
                break;
            expected += size;
            delivered[bursts++] = TClock::now();
        }
        if (bursts == Bursts)
            app.quit();
    });
    // A plain reader has no interval to wait out: paced as TComm's bursts at 20 ms, its figures
    // serve both of TComm's intervals.
    std::thread writer([&] { SendBursts(line, end, 20 + BurstPauseOver); });
    app.exec();
    writer.join();
    r.Ok = bursts == Bursts;
    if (r.Ok)
        Latencies(end, delivered, 0, r);
    return r;
}

// Runs Measure in a child process and brings its result back.
TResult InChild(const std::function<TResult()>& Measure)
{
    int pipes[2];
    if (pipe(pipes) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        const TResult r = Measure();
        [[maybe_unused]] auto w = write(pipes[1], &r, sizeof r);
        _exit(0);
    }
    close(pipes[1]);
    TResult r;
    if (read(pipes[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r))
        r = TResult{};
    close(pipes[0]);
    waitpid(child, nullptr, 0);
    return r;
}

// One stream per side says little on a shared machine: the two readers take turns, pair by
// pair (which one goes first alternates), and the figures are the pairs' median ratios with
// their range.
constexpr int StreamPairs = 9;

struct TPair {
    TResult Comm, Peer;
};

const std::vector<TPair>& Streams()
{
    static const std::vector<TPair> pairs = [] {
        std::vector<TPair> all;
        for (int i = 0; i < StreamPairs; ++i) {
            TPair p;
            if (i % 2 == 0) {
                p.Comm = InChild(CommThroughput);
                p.Peer = InChild(PeerThroughput);
            } else {
                p.Peer = InChild(PeerThroughput);
                p.Comm = InChild(CommThroughput);
            }
            all.push_back(p);
        }
        return all;
    }();
    return pairs;
}

// Median, smallest and largest of Of over the pairs where both sides read the whole stream.
void Ratio(benchmark::State& State, const std::string& Name,
           const std::function<double(const TPair&)>& Of)
{
    std::vector<double> values;
    for (const TPair& p : Streams())
        if (p.Comm.Ok && p.Peer.Ok)
            values.push_back(Of(p));
    if (values.empty())
        return;
    State.counters[Name + "_median"] = Median(values);
    State.counters[Name + "_min"] = *std::min_element(values.begin(), values.end());
    State.counters[Name + "_max"] = *std::max_element(values.begin(), values.end());
}

// The median run of one side, by time.
TResult MedianRun(TResult TPair::*Side)
{
    std::vector<TResult> runs;
    for (const TPair& p : Streams())
        runs.push_back(p.*Side);
    std::sort(runs.begin(), runs.end(),
              [](const TResult& A, const TResult& B) { return A.Seconds < B.Seconds; });
    return runs[runs.size() / 2];
}

void Report(benchmark::State& State, const TResult& R)
{
    const double mib = static_cast<double>(StreamBytes) / (1 << 20);
    State.SetIterationTime(R.Seconds);
    State.counters["MiB_per_s"] = mib / R.Seconds;
    State.counters["CPU_s_per_MiB"] = R.CpuSeconds / mib;
    State.counters["peak_RSS_MiB"] = R.PeakRssMiB;
}

void BM_TCommStream(benchmark::State& State)
{
    for (auto _ : State) {
        for (const TPair& p : Streams())
            if (!p.Comm.Ok) // a lost or reordered byte is never excused by other runs
                State.SkipWithError("bytes lost, reordered or late");
        Report(State, MedianRun(&TPair::Comm));
        Ratio(State, "speed_vs_peer", [](const TPair& P) { return P.Peer.Seconds / P.Comm.Seconds; });
        Ratio(State, "cpu_vs_peer",
              [](const TPair& P) { return P.Comm.CpuSeconds / P.Peer.CpuSeconds; });
        // Both sides' writer threads are counted in as well; they do the same work.
        Ratio(State, "switches_vs_peer", [](const TPair& P) {
            return static_cast<double>(P.Comm.Switches) / static_cast<double>(P.Peer.Switches);
        });
    }
}

void BM_QSerialPortStream(benchmark::State& State)
{
    for (auto _ : State) {
        const TResult r = MedianRun(&TPair::Peer);
        if (!r.Ok)
            State.SkipWithError("peer could not read the stream");
        Report(State, r);
    }
}

// Latency, like throughput, varies from run to run on a shared machine: TComm at both
// intervals and the peer take turns, round by round (which one goes first alternates), and each
// figure is the median of the rounds' figures with their range.
constexpr int LatencyRounds = 5;

struct TLatencyRound {
    TResult Comm20, Comm100, Peer;
};

const std::vector<TLatencyRound>& LatencyRuns()
{
    static const std::vector<TLatencyRound> rounds = [] {
        std::vector<TLatencyRound> all;
        for (int i = 0; i < LatencyRounds; ++i) {
            TLatencyRound r;
            if (i % 2 == 1)
                r.Peer = InChild(PeerLatency);
            r.Comm20 = InChild([] { return CommLatency(20); });
            r.Comm100 = InChild([] { return CommLatency(100); });
            if (i % 2 == 0)
                r.Peer = InChild(PeerLatency);
            all.push_back(r);
        }
        return all;
    }();
    return rounds;
}

void ReportLatency(benchmark::State& State, TResult TLatencyRound::*Side)
{
    std::vector<double> medians, p99s;
    for (const TLatencyRound& r : LatencyRuns()) {
        if (!(r.*Side).Ok) {
            State.SkipWithError("bursts not delivered one block each");
            return;
        }
        medians.push_back((r.*Side).LatencyMedianMs);
        p99s.push_back((r.*Side).LatencyP99Ms);
    }
    State.SetIterationTime(1);
    for (const auto& [name, values] : {std::pair{"median_ms", &medians}, {"p99_ms", &p99s}}) {
        State.counters[name] = Median(*values);
        State.counters[std::string(name) + "_min"] =
            *std::min_element(values->begin(), values->end());
        State.counters[std::string(name) + "_max"] =
            *std::max_element(values->begin(), values->end());
    }
}

void BM_TCommLatency(benchmark::State& State)
{
    for (auto _ : State)
        ReportLatency(State,
                      State.range(0) == 20 ? &TLatencyRound::Comm20 : &TLatencyRound::Comm100);
}

void BM_TCommSplitUnderLoad(benchmark::State& State)
{
    for (auto _ : State) {
        const TResult r = InChild(CommSplit);
        if (!r.Ok)
            State.SkipWithError("no result");
        State.SetIterationTime(1);
        State.counters["split_of_100"] = r.Splits * 100.0 / SplitTries;
        State.counters["gap_median_ms"] = r.GapMedianMs;
        State.counters["gap_max_ms"] = r.GapMaxMs;
    }
}

void BM_QSerialPortLatency(benchmark::State& State)
{
    for (auto _ : State)
        ReportLatency(State, &TLatencyRound::Peer);
}

} // namespace

BENCHMARK(BM_TCommStream)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QSerialPortStream)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCommLatency)->Arg(20)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCommSplitUnderLoad)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QSerialPortLatency)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
