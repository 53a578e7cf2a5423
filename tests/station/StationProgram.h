#pragma once
// A station program under a virtual display (Xvfb) of the test's own, as the operator meets it:
// found by its title, clicked with the real pointer, read back from screenshots of its client
// area. The program is the Linux build or the Windows one under Wine; a Windows window as Wine
// draws it carries its frame and caption inside the X window, so its client area starts
// further in.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QThread>

#include <functional>
#include <vector>

namespace station {

const QString kTitle = "Ostrel_SMT for Brazil";
const QSize kClient(465, 277);
// Where the layout puts things, in client pixels.
const QRect kCounter(205, 12, 41, 13);
const QRect kReceivedText(251, 11, 203, 15); // inside Edit2's frame
const QRect kChart(8, 112, 449, 161);
const QRect kButton1(8, 80, 60, 25);
constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF, kSkyBlue = 0xA6CAF0;

// The colours of every pixel, row by row, whatever the images' formats and colour spaces.
inline std::vector<QRgb> Pixels(const QImage& Image)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            pixels.push_back(Image.pixel(x, y) & 0xFFFFFF);
    return pixels;
}

inline int CountOf(const QImage& Image, const QRect& Area, QRgb Colour)
{
    int count = 0;
    for (int y = Area.top(); y <= Area.bottom(); ++y)
        for (int x = Area.left(); x <= Area.right(); ++x)
            count += (Image.pixel(x, y) & 0xFFFFFF) == Colour;
    return count;
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
        Stop();
        FDisplay.terminate();
        FDisplay.waitForFinished(5000);
    }

    // Ends the program if it still runs (derived fixtures, before their lines go).
    void Stop()
    {
        if (Station.state() != QProcess::NotRunning) {
            Station.kill();
            Station.waitForFinished(5000);
        }
    }

    // Starts Program with Arguments on the virtual display, with Env added to the environment.
    void Start(const QString& Program, const QStringList& Arguments = {},
               const QProcessEnvironment& Env = {})
    {
        ASSERT_FALSE(Display.isEmpty()) << "Xvfb did not start";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", Display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert(Env);
        Station.setProcessEnvironment(env);
        Station.start(Program, Arguments);
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

    // The visible window with the program's title whose size Fits (width and height), waiting
    // up to TimeoutMs for it.
    QString WindowWhere(const std::function<bool(int, int)>& Fits, int TimeoutMs = 60000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < TimeoutMs) {
            for (const QByteArray& id :
                 Tool("xdotool", {"search", "--onlyvisible", "--name", "^" + kTitle + "$"})
                     .split('\n')) {
                if (id.isEmpty())
                    continue;
                int width = -1, height = -1;
                for (const QByteArray& line :
                     Tool("xdotool", {"getwindowgeometry", "--shell", id}).split('\n')) {
                    if (line.startsWith("WIDTH="))
                        width = line.mid(6).toInt();
                    else if (line.startsWith("HEIGHT="))
                        height = line.mid(7).toInt();
                }
                if (width >= 0 && height >= 0 && Fits(width, height))
                    return QString::fromLatin1(id);
            }
            QThread::msleep(100);
        }
        return {};
    }
    // The window of the given size (or, without Wanted, of another size).
    QString WindowOfSize(int Width, int Height, bool Wanted = true, int TimeoutMs = 60000)
    {
        return WindowWhere([&](int W, int H) { return (W == Width && H == Height) == Wanted; },
                           TimeoutMs);
    }

    // The client area.
    QImage Shot(const QString& Window) const
    {
        return QImage::fromData(Tool("import", {"-window", Window, "png:-"}), "PNG")
            .convertToFormat(QImage::Format_RGB32)
            .copy(QRect(ClientOrigin, kClient));
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
        const QPoint c = Control.center() + ClientOrigin;
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
        const QPoint p = QPoint(230, 320) + ClientOrigin;
        Tool("xdotool", {"mousemove", "--window", Window, QString::number(p.x()),
                         QString::number(p.y())});
    }

    QString Display;
    QProcess Station;
    // Where the client area starts in the program's X window.
    QPoint ClientOrigin{0, 0};

private:
    QProcess FDisplay;
};

} // namespace station
