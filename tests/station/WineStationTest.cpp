// The Windows program under Wine against the simulated device on this side: the simulator's
// pseudo-terminal is Wine's COM1, the six buttons are clicked with the real pointer, and the
// window is read back from screenshots. It needs Wine, a prefix and the cross-built program:
// scripts/test-windows.sh runs it with OSTREL_WINE_STATION naming the program (and
// OSTREL_WINE_SCREENSHOT where to keep a picture of the failure caption).
#include "tests/station/StationProgram.h"

#include <QTemporaryDir>

namespace {

using namespace station;

class WineStation : public StationProgram {
protected:
    ~WineStation() override
    {
        Stop();
        Run("wineserver", {"-k"});
        Simulator.terminate();
        Simulator.waitForFinished(5000);
    }

    // Runs a Wine tool to its end; its exit code, or -1 when it did not end within a minute.
    static int Run(const QString& Program, const QStringList& Arguments)
    {
        QProcess tool;
        tool.start(Program, Arguments);
        if (!tool.waitForFinished(60000)) {
            tool.kill();
            return -1;
        }
        return tool.exitCode();
    }

    // The simulator's next line on its standard output, waiting up to TimeoutMs.
    QString SimulatorSays(int TimeoutMs = 30000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!Simulator.canReadLine() && clock.elapsed() < TimeoutMs)
            Simulator.waitForReadyRead(100);
        return QString::fromUtf8(Simulator.readLine()).trimmed();
    }

    // The next shot that equals the one before it and satisfies Done: the window has settled.
    QImage SettledShot(const QString& Window, const std::function<bool(const QImage&)>& Done,
                       int TimeoutMs = 30000) const
    {
        QElapsedTimer clock;
        clock.start();
        QImage last = Shot(Window);
        while (clock.elapsed() < TimeoutMs) {
            QThread::msleep(300);
            QImage next = Shot(Window);
            if (next == last && Done(next))
                return next;
            last = next;
        }
        return last;
    }

    QTemporaryDir Ports;
    QProcess Simulator;
};

TEST_F(WineStation, TheSixFramesAreAnsweredPlottedAndAWrongChecksumShowsTheFailureCaption)
{
    const QString program = qEnvironmentVariable("OSTREL_WINE_STATION");
    if (program.isEmpty())
        GTEST_SKIP() << "the Windows program under Wine: scripts/test-windows.sh runs this";

    // The simulator links its line in a directory of the test's own; its seventh answer
    // carries a wrong checksum.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OSTREL_SMT_PORTS", Ports.path());
    Simulator.setProcessEnvironment(env);
    Simulator.start(SIMULATOR_PROGRAM, {"--corrupt-every", "7"});
    const QString link = SimulatorSays(10000); // "ostrel-smt-sim: LINK -> /dev/pts/N"
    const QString pty = link.section(" -> ", 1);
    ASSERT_TRUE(pty.startsWith("/dev/pts/")) << link.toStdString();
    ASSERT_EQ(Run("wine", {"reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", "COM1", "/d", pty,
                           "/f"}),
              0);
    Run("wineserver", {"-k"}); // Wine reads its ports when it starts

    Start("wine", {program});
    int width = 0, height = 0;
    const QString window = WindowWhere(
        [&](int W, int H) {
            width = W;
            height = H;
            return W > kClient.width() && H > kClient.height();
        },
        120000);
    ASSERT_FALSE(window.isEmpty()) << "no window; Wine says: "
                                   << Station.readAllStandardError().right(2000).toStdString();
    // Wine's frame is as wide on the left, the right and the bottom; the caption adds the rest
    // above.
    const int border = (width - kClient.width()) / 2;
    ClientOrigin = {border, height - kClient.height() - border};

    PointerAway(window);
    const QImage before = SettledShot(window, [](const QImage& I) {
        return CountOf(I, kCounter, kSkyBlue) == kCounter.width() * kCounter.height();
    });
    ASSERT_EQ(CountOf(before, kCounter, kSkyBlue), kCounter.width() * kCounter.height());
    ASSERT_EQ(CountOf(before, kChart, kRed), 0);

    // RESET, KEYPAD, ALERT, SIM, SD, then MIC, whose sine burst stays on the chart. The
    // simulator answers only a well-formed frame, and says which; the next click waits until
    // the counter has moved on, so that no two answers run together into one block.
    for (int code : {6, 1, 3, 4, 5, 2}) {
        const QImage counter = Shot(window).copy(kCounter);
        Click(window, QRect(8 + 65 * (code - 1), 80, 60, 25));
        EXPECT_TRUE(SimulatorSays().startsWith(QString("ostrel-smt-sim: answered command %1 with")
                                                   .arg(code)))
            << code;
        const QImage counted =
            ShotWhen(window, [&](const QImage& I) { return I.copy(kCounter) != counter; }, 20000);
        EXPECT_NE(counted.copy(kCounter), counter) << code;
        // KEYPAD's short answer in hex, in blue. (Wine's edit control leaves a long line of
        // mixed digits and letters, such as the waveforms' hex, unpainted until it is clicked.)
        if (code == 1) {
            EXPECT_GT(CountOf(counted, kReceivedText, kBlue), 0);
        }
    }
    PointerAway(window);
    const QImage shown =
        SettledShot(window, [](const QImage& I) { return CountOf(I, kChart, kRed) > 0; });
    EXPECT_GT(CountOf(shown, kChart, kRed), 100);
    // The counter in red on sky blue and nothing between: the window font is not smoothed.
    const int red = CountOf(shown, kCounter, kRed);
    EXPECT_GT(red, 0);
    EXPECT_EQ(red + CountOf(shown, kCounter, kSkyBlue), kCounter.width() * kCounter.height());
    const QImage keypad = shown.copy(kButton1);

    // MIC once more: a wrong checksum changes the first button's caption until 5 s later.
    QElapsedTimer clock;
    clock.start();
    Click(window, QRect(73, 80, 60, 25));
    EXPECT_TRUE(SimulatorSays().startsWith("ostrel-smt-sim: answered command 2 with"));
    PointerAway(window);
    const QImage failed =
        ShotWhen(window, [&](const QImage& I) { return I.copy(kButton1) != keypad; }, 20000);
    ASSERT_NE(failed.copy(kButton1), keypad);
    const QString picture = qEnvironmentVariable("OSTREL_WINE_SCREENSHOT");
    if (!picture.isEmpty())
        failed.save(picture);
    EXPECT_NE(Pixels(failed.copy(kCounter)), Pixels(shown.copy(kCounter)));
    const QImage restored = ShotWhen(
        window, [&](const QImage& I) { return I.copy(kButton1) == keypad; }, 20000);
    EXPECT_EQ(restored.copy(kButton1), keypad);
    EXPECT_GE(clock.elapsed(), 5000); // the failure came after the click

    Key(window, "Escape");
    ASSERT_TRUE(Station.waitForFinished(30000));
    EXPECT_EQ(Station.exitCode(), 0);
    EXPECT_EQ(Simulator.readAllStandardError().toStdString(), ""); // no frame it did not take
}

} // namespace
