// The station program as the operator meets it: started under a virtual display with a
// pseudo-terminal as COM1, clicked with the real pointer, read back from screenshots and from
// the bytes on the line.
#include "tests/serial/posix/PtyPosix.h"
#include "tests/station/StationProgram.h"

#include <QFont>
#include <QPainter>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using namespace station;
using TBytes = std::vector<std::uint8_t>;

// The counter as it must look: Text in red on the window's sky blue, right-aligned in the
// label, in the window font (8 points, an 11-pixel em, no smoothing), drawn here by Qt alone.
QImage CounterShowing(const QString& Text)
{
    QImage image(kCounter.size(), QImage::Format_RGB32);
    image.fill(QColor(0xA6, 0xCA, 0xF0));
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(image.rect(), Qt::AlignRight | Qt::AlignTop, Text);
    return image;
}

// The Linux build of the program.
class LinuxStation : public StationProgram {
protected:
    ~LinuxStation() override { Stop(); }
    void Start() { StationProgram::Start(STATION_PROGRAM); }
    TPortDir Dir;
};

TEST_F(LinuxStation, SendsTheSixFramesShowsResponsesAndFailuresAndEndsOnEsc)
{
    TPty line(Dir);
    Start();
    const QString window = WindowOfSize(465, 277);
    ASSERT_FALSE(window.isEmpty()) << "no window; the station "
                                   << (Station.state() == QProcess::NotRunning ? "ended" : "runs")
                                   << ", saying: " << Station.readAllStandardError().toStdString();

    for (int code = 1; code <= 6; ++code) {
        const int left[] = {8, 73, 138, 203, 268, 333};
        Click(window, QRect(left[code - 1], 80, 60, 25));
        EXPECT_EQ(line.Read(8, 3000),
                  (TBytes{0xAA, 0x55, std::uint8_t(code), 0, 0, 0, 0, std::uint8_t(code - 1)}))
            << code;
    }

    PointerAway(window);
    const QImage before = Shot(window);
    ASSERT_EQ(Pixels(before.copy(kCounter)), Pixels(CounterShowing("")));
    ASSERT_EQ(CountOf(before, kReceivedText, kBlue), 0);
    ASSERT_EQ(CountOf(before, kChart, kRed), 0);
    line.Write({0x01, 0x02, 0x03, 0x06});
    const QImage shown =
        ShotWhen(window, [&](const QImage& i) { return CountOf(i, kChart, kRed) > 0; });
    EXPECT_EQ(Pixels(shown.copy(kCounter)), Pixels(CounterShowing("1")));
    EXPECT_GT(CountOf(shown, kReceivedText, kBlue), 0);
    EXPECT_GT(CountOf(shown, kChart, kRed), 0);
    const QImage keypad = shown.copy(kButton1);
    EXPECT_EQ(keypad, before.copy(kButton1));

    // A wrong checksum: the first button's caption changes, and 5 s later it is back to the
    // last pixel.
    line.Write({0x01, 0x02, 0x03, 0x07});
    const QImage failed =
        ShotWhen(window, [&](const QImage& i) { return i.copy(kButton1) != keypad; });
    ASSERT_NE(failed.copy(kButton1), keypad);
    QElapsedTimer clock;
    clock.start();
    const QImage restored = ShotWhen(
        window, [&](const QImage& i) { return i.copy(kButton1) == keypad; }, 10000);
    EXPECT_EQ(restored.copy(kButton1), keypad);
    EXPECT_GE(clock.elapsed(), 4000); // 5 s, less the time it took to see the failure

    Key(window, "Escape");
    ASSERT_TRUE(Station.waitForFinished(10000));
    EXPECT_EQ(Station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Station.exitCode(), 0);
}

TEST_F(LinuxStation, AStartWithCom1HeldElsewhereShowsTheErrorThenTheWindow)
{
    TPty line(Dir);
    const int holder = open((PortPath(Dir) + "/COM1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    Start();
    const QString dialog = WindowOfSize(465, 277, false);
    ASSERT_FALSE(dialog.isEmpty()) << "no error dialog";
    EXPECT_TRUE(WindowOfSize(465, 277, true, 500).isEmpty()) << "the window came before the error";
    Key(dialog, "Return");
    const QString window = WindowOfSize(465, 277);
    EXPECT_FALSE(window.isEmpty());
    // The port stayed closed: a test frame goes nowhere.
    Click(window, QRect(8, 80, 60, 25));
    EXPECT_TRUE(line.Read(8, 500).empty());
    close(holder);
}

} // namespace
