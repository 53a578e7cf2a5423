// The station program as the operator meets it: started under a virtual display with a
// pseudo-terminal as COM1, clicked with the real pointer, read back from screenshots and from
// the bytes on the line.
#include "tests/serial/posix/PtyPosix.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRect>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

const QString kTitle = "Ostrel_SMT for Brazil";
// Where the layout puts things, in client pixels.
const QRect kCounter(205, 12, 41, 13);
const QRect kReceivedText(251, 11, 203, 15); // inside Edit2's frame
const QRect kChart(8, 112, 449, 161);
const QRect kButton1(8, 80, 60, 25);
constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF;

// The colours of every pixel, row by row, whatever the images' formats and colour spaces.
std::vector<QRgb> Pixels(const QImage& Image)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            pixels.push_back(Image.pixel(x, y) & 0xFFFFFF);
    return pixels;
}

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

class StationProgram : public ::testing::Test {
protected:
    StationProgram()
    {
        FDisplay.start("Xvfb",
                       {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (FDisplay.waitForReadyRead(10000))
            Display = ":" + QString::fromLatin1(FDisplay.readLine()).trimmed();
    }
    ~StationProgram() override
    {
        if (Station.state() != QProcess::NotRunning) {
            Station.kill();
            Station.waitForFinished(5000);
        }
        FDisplay.terminate();
        FDisplay.waitForFinished(5000);
    }

    void Start()
    {
        ASSERT_FALSE(Display.isEmpty()) << "Xvfb did not start";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", Display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        Station.setProcessEnvironment(env);
        Station.start(STATION_PROGRAM, {});
        ASSERT_TRUE(Station.waitForStarted(10000));
    }

    // Runs an X tool on the virtual display; its standard output.
    QByteArray Tool(const QString& Program, const QStringList& Arguments) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", Display);
        tool.setProcessEnvironment(env);
        tool.start(Program, Arguments);
        if (!tool.waitForFinished(20000))
            tool.kill();
        return tool.readAllStandardOutput();
    }

    // The visible window with the program's title and the given size (or, without Wanted,
    // of another size), waiting up to TimeoutMs for it.
    QString WindowOfSize(int Width, int Height, bool Wanted = true, int TimeoutMs = 60000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < TimeoutMs) {
            for (const QByteArray& id :
                 Tool("xdotool", {"search", "--onlyvisible", "--name", "^" + kTitle + "$"})
                     .split('\n')) {
                if (id.isEmpty())
                    continue;
                const QByteArray shape = Tool("xdotool", {"getwindowgeometry", "--shell", id});
                const bool size = shape.contains("WIDTH=" + QByteArray::number(Width) + "\n") &&
                                  shape.contains("HEIGHT=" + QByteArray::number(Height) + "\n");
                if (size == Wanted)
                    return QString::fromLatin1(id);
            }
            QThread::msleep(100);
        }
        return {};
    }

    QImage Shot(const QString& Window) const
    {
        return QImage::fromData(Tool("import", {"-window", Window, "png:-"}), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

    QImage ShotWhen(const QString& Window, const std::function<bool(const QImage&)>& Done,
                    int TimeoutMs = 3000) const
    {
        QElapsedTimer clock;
        clock.start();
        QImage image = Shot(Window);
        while (!Done(image) && clock.elapsed() < TimeoutMs)
            image = Shot(Window);
        return image;
    }

    void Click(const QString& Window, const QRect& Control) const
    {
        const QPoint c = Control.center();
        Tool("xdotool", {"mousemove", "--window", Window, QString::number(c.x()),
                         QString::number(c.y()), "click", "1"});
    }

    void Key(const QString& Window, const QString& Name) const
    {
        Tool("xdotool", {"windowfocus", "--sync", Window});
        Tool("xdotool", {"key", Name});
    }

    // Away from every button, so that none is drawn lit.
    void PointerAway(const QString& Window) const
    {
        Tool("xdotool", {"mousemove", "--window", Window, "230", "320"});
    }

    static int CountOf(const QImage& Image, const QRect& Area, QRgb Colour)
    {
        int count = 0;
        for (int y = Area.top(); y <= Area.bottom(); ++y)
            for (int x = Area.left(); x <= Area.right(); ++x)
                count += (Image.pixel(x, y) & 0xFFFFFF) == Colour;
        return count;
    }

    QString Display;
    QProcess Station;
    TPortDir Dir;

private:
    QProcess FDisplay;
};

TEST_F(StationProgram, SendsTheSixFramesShowsResponsesAndFailuresAndEndsOnEsc)
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

TEST_F(StationProgram, AStartWithCom1HeldElsewhereShowsTheErrorThenTheWindow)
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
