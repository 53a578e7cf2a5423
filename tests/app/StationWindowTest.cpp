// The real window on the offscreen platform, its port a pseudo-terminal linked as COM1: what
// the operator does (clicks, picks, typing, Esc) and what the device sends, against the bytes
// on the line and what the window shows.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/NativeWidget.h"
#include "platform/Sound.h"
#include "tests/serial/Pty.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <termios.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

class StationWindow : public ::testing::Test {
protected:
    StationWindow()
    {
        Application->OnException = [this](TObject*, const std::string& Text) {
            Errors.push_back(Text);
            BeepsAtLastError = platform::BeepCount() - BeepsBefore;
        };
    }
    ~StationWindow() override
    {
        Form.reset();
        Application->OnException = nullptr;
    }

    void Create()
    {
        BeepsBefore = platform::BeepCount();
        Form = std::make_unique<TForm1>(nullptr);
        StartUpBeeps = platform::BeepCount() - BeepsBefore;
        Form->Comm1->OnSendDataEmpty = [this](TObject*) { ++Openings; };
        Form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(NativeWidgetOf(*Form)));
    }

    // What the device answers, handled by the window.
    void Receive(const TBytes& Block)
    {
        const std::int32_t before = Form->PacketCount();
        Line->Write(Block);
        ASSERT_TRUE(WaitFor([&] { return Form->PacketCount() != before; }));
    }

    // Picks an item with the mouse in the dropped-down list.
    static void Pick(TComboBox& List, int Index)
    {
        auto* box = static_cast<QComboBox*>(NativeWidgetOf(List));
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex item = view->model()->index(Index, 0);
        view->scrollTo(item);
        const QPoint at = view->visualRect(item).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        WaitFor([&] { return !view->isVisible(); }, 1000);
    }

    static void Click(TWinControl& Button)
    {
        QTest::mouseClick(NativeWidgetOf(Button), Qt::LeftButton);
    }

    TPortDir Dir;
    std::unique_ptr<TPty> Line = std::make_unique<TPty>(Dir);
    std::vector<std::string> Errors;
    std::unique_ptr<TForm1> Form;
    unsigned long BeepsBefore = 0;
    unsigned long StartUpBeeps = 0;
    unsigned long BeepsAtLastError = 0; // beeps since Create when the last error was shown
    int Openings = 0;
};

TEST_F(StationWindow, StartsWithTheDefaultsAndOneBeepAndTheLineOpenAt9600)
{
    Create();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(StartUpBeeps, 1u);
    EXPECT_TRUE(Form->Comm1->Opened());
    EXPECT_EQ(cfgetospeed(&static_cast<const termios&>(Line->LineSettings())), speed_t(B9600));
    const std::vector<std::string> shown = {Form->ComboBox1->Text(), Form->ComboBox2->Text(),
                                            Form->ComboBox3->Text(), Form->ComboBox4->Text(),
                                            Form->ComboBox5->Text()};
    EXPECT_EQ(shown, (std::vector<std::string>{"COM1", "9600", "数据位8位", "无校验None", "停止位1"}));
    EXPECT_EQ(Form->Edit1->Text(), "");
    EXPECT_EQ(Form->Edit2->Text(), "");
    EXPECT_EQ(Form->Label2->Caption(), "");
    EXPECT_EQ(Form->Button1->Caption(), "KEYPAD");
    EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(StationWindow, EachTestButtonBeepsShowsAndSendsItsFrame)
{
    Create();
    const struct {
        TcxButton* TForm1::*Button;
        const char* Text;
        TBytes Frame;
    } rows[] = {
        {&TForm1::Button1, "AA55010000000000", {0xAA, 0x55, 0x01, 0, 0, 0, 0, 0x00}},
        {&TForm1::Button2, "AA55020000000001", {0xAA, 0x55, 0x02, 0, 0, 0, 0, 0x01}},
        {&TForm1::Button3, "AA55030000000002", {0xAA, 0x55, 0x03, 0, 0, 0, 0, 0x02}},
        {&TForm1::Button4, "AA55040000000003", {0xAA, 0x55, 0x04, 0, 0, 0, 0, 0x03}},
        {&TForm1::Button5, "AA55050000000004", {0xAA, 0x55, 0x05, 0, 0, 0, 0, 0x04}},
        {&TForm1::Button6, "AA55060000000005", {0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05}},
    };
    for (const auto& row : rows) {
        const unsigned long beeps = platform::BeepCount();
        Click(*(Form.get()->*row.Button));
        EXPECT_EQ(platform::BeepCount() - beeps, 1u);
        EXPECT_EQ(Form->Edit1->Text(), row.Text);
        EXPECT_EQ(Line->Read(8, 3000), row.Frame) << row.Text;
    }
}

TEST_F(StationWindow, EveryBlockIsCountedShownCheckedAndPlottedWithOneBeep)
{
    Create();
    const struct {
        TBytes Block;
        const char* Count;
        const char* Hex;
        const char* Caption;
        TColor FontColor;
        std::vector<double> Samples;
    } rows[] = {
        {{0x01, 0x02, 0x03, 0x06}, "1", "01020306", "KEYPAD", clWindowText, {258, 774}},
        {{0x01, 0x02, 0x03, 0x07}, "2", "01020307", "校验失败！", clRed, {258, 775}},
        // Passing after a failure: the caption comes back at once, the red stays.
        {{0x01, 0x00, 0x02, 0x00, 0x03}, "3", "0100020003", "KEYPAD", clRed, {256, 512}},
        {{0x00}, "4", "00", "KEYPAD", clRed, {}},
    };
    for (const auto& row : rows) {
        const unsigned long beeps = platform::BeepCount();
        Receive(row.Block);
        EXPECT_EQ(platform::BeepCount() - beeps, 1u) << row.Hex;
        EXPECT_EQ(Form->Label2->Caption(), row.Count);
        EXPECT_EQ(Form->Edit2->Text(), row.Hex);
        EXPECT_EQ(Form->Button1->Caption(), row.Caption);
        EXPECT_EQ(Form->Button1->Font().Color(), row.FontColor) << row.Hex;
        std::vector<double> xs, ys;
        for (int i = 0; i < Form->Series1->Count(); ++i) {
            xs.push_back(Form->Series1->XValues()->Value(i));
            ys.push_back(Form->Series1->YValues()->Value(i));
        }
        EXPECT_EQ(ys, row.Samples) << row.Hex;
        EXPECT_EQ(xs, (row.Samples.empty() ? std::vector<double>{} : std::vector<double>{0, 1}));
    }
    EXPECT_TRUE(Form->Timer1->Enabled());
}

TEST_F(StationWindow, TheFailureShowsUntilFiveSecondsAfterTheFirstOfTwoFailures)
{
    Create();
    QElapsedTimer clock;
    Receive({0x01, 0x02});
    clock.start();
    Pump(3000);
    Receive({0x05, 0x07});
    ASSERT_EQ(Form->Button1->Caption(), "校验失败！");
    ASSERT_TRUE(WaitFor([&] { return Form->Button1->Caption() == "KEYPAD"; }, 10000));
    const qint64 shown = clock.elapsed();
    // A timer restarted by the second failure would have waited until 8000 ms.
    EXPECT_GE(shown, 5000);
    EXPECT_LT(shown, 8000);
    EXPECT_EQ(Form->Button1->Font().Color(), clWindowText);
    EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(StationWindow, APickReopensWithThatSettingAloneAndTypingReopensAtEveryEdit)
{
    Create();
    Receive({0x00});
    Openings = 0;
    Pick(*Form->ComboBox4, 2); // "奇校验Odd"
    Pick(*Form->ComboBox2, 21); // "19200"
    EXPECT_TRUE(WaitFor([&] { return Openings == 2; }));
    EXPECT_TRUE(Errors.empty());
    const termios line = Line->LineSettings();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & (PARODD | CSIZE | CSTOPB), tcflag_t(PARODD | CS8));
    EXPECT_EQ(Form->Comm1->BaudRate(), 19200u);

    // Text that is no item selects nothing: the port reopens unchanged.
    auto* field = static_cast<QComboBox*>(NativeWidgetOf(*Form->ComboBox1))->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, "CO");
    EXPECT_TRUE(WaitFor([&] { return Openings == 4; }));
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(Form->Comm1->CommName(), "COM1");
    EXPECT_TRUE(Form->Comm1->Opened());

    Receive({0x00});
    EXPECT_EQ(Form->Label2->Caption(), "2"); // the counter goes on across port changes
    EXPECT_EQ(Openings, 4);
}

TEST_F(StationWindow, APortThatCannotOpenIsReportedOnceAndRefusesFramesUntilAGoodPick)
{
    Dir.Link("COM3", Dir.Path() + "/unplugged");
    Create();
    Pick(*Form->ComboBox1, 2);
    EXPECT_EQ(Errors, std::vector<std::string>{"Error opening serial port."});
    EXPECT_FALSE(Form->Comm1->Opened());
    EXPECT_EQ(Form->Comm1->CommName(), "COM3");

    const unsigned long beeps = platform::BeepCount();
    Click(*Form->Button1);
    EXPECT_EQ(platform::BeepCount() - beeps, 1u);
    EXPECT_EQ(Form->Edit1->Text(), "AA55010000000000");

    Pick(*Form->ComboBox1, 0);
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_TRUE(Form->Comm1->Opened());
    Click(*Form->Button2);
    // Nothing of the refused frame reached the line, only the one sent after the good pick.
    EXPECT_EQ(Line->Read(16, 1000), (TBytes{0xAA, 0x55, 0x02, 0, 0, 0, 0, 0x01}));
}

TEST_F(StationWindow, AStartWithoutCom1ShowsTheErrorThenTheWindowAndAnotherPortWorks)
{
    Dir.Link("COM1", Dir.Path() + "/absent");
    TPty other(Dir, "COM2");
    Create();
    EXPECT_EQ(Errors, std::vector<std::string>{"Error opening serial port."});
    EXPECT_EQ(BeepsAtLastError, 1u); // the one beep came before the port was opened
    EXPECT_EQ(StartUpBeeps, 1u);
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->ComboBox3->Text(), "数据位8位");
    EXPECT_FALSE(Form->Comm1->Opened());

    Pick(*Form->ComboBox1, 1);
    ASSERT_TRUE(Form->Comm1->Opened());
    Click(*Form->Button6);
    EXPECT_EQ(other.Read(8, 3000), (TBytes{0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05}));
}

TEST_F(StationWindow, EscInAListBeepsClosesThePortAndTheWindow)
{
    Create();
    Form->ComboBox2->SetFocus();
    const unsigned long beeps = platform::BeepCount();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(platform::BeepCount() - beeps, 1u);
    EXPECT_FALSE(Form->Comm1->Opened());
    EXPECT_FALSE(Form->Visible());
}

TEST_F(StationWindow, ControlsSitWhereTheLayoutPutsThemAndTheWindowIsFixed)
{
    Create();
    const struct {
        TWinControl* Control;
        int Left, Top, Width, Height, TabOrder;
    } rows[] = {
        {Form->Label2, 205, 12, 41, 13, -1},     {Form->ComboBox1, 8, 48, 83, 21, 0},
        {Form->ComboBox2, 97, 48, 83, 21, 1},    {Form->ComboBox3, 186, 48, 83, 21, 2},
        {Form->ComboBox4, 276, 48, 90, 21, 3},   {Form->Button9, 398, 80, 60, 25, 4},
        {Form->Button1, 8, 80, 60, 25, 5},       {Form->Button2, 73, 80, 60, 25, 6},
        {Form->Button3, 138, 80, 60, 25, 7},     {Form->Button4, 203, 80, 60, 25, 8},
        {Form->ComboBox5, 372, 48, 83, 21, 9},   {Form->Edit1, 8, 8, 193, 21, 10},
        {Form->Edit2, 248, 8, 209, 21, 11},      {Form->Button5, 268, 80, 60, 25, 12},
        {Form->Button6, 333, 80, 60, 25, 13},    {Form->Chart1, 8, 112, 449, 161, 14},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.Control->Parent(), Form.get());
        EXPECT_EQ(row.Control->BoundsRect(),
                  (TRect{row.Left, row.Top, row.Left + row.Width, row.Top + row.Height}))
            << row.TabOrder;
        EXPECT_EQ(row.Control->TabOrder(), row.TabOrder);
    }
    QWidget* window = NativeWidgetOf(*Form);
    EXPECT_EQ(window->size(), QSize(465, 277));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);

    // Between the edits and right of the chart the window shows its sky blue.
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixel(203, 20) & 0xFFFFFF, 0xA6CAF0u);
    EXPECT_EQ(shot.pixel(460, 200) & 0xFFFFFF, 0xA6CAF0u);
}

TEST_F(StationWindow, ChineseCaptionsHaveGlyphsInTheWindowFont)
{
    Create();
    for (const char* text : {"校验失败！", "退出", "数据位8位", "停止位1.5", "："}) {
        QTextLayout layout(QString::fromUtf8(text), NativeWidgetOf(*Form->ComboBox1)->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns())
            for (quint32 index : run.glyphIndexes()) {
                EXPECT_NE(index, 0u) << text; // glyph 0 is the missing-glyph box
                ++glyphs;
            }
        EXPECT_GE(glyphs, int(QString::fromUtf8(text).size())) << text;
    }
}

} // namespace

namespace {

// Without a handler of its own the application shows the platform's message box: what it
// looks like, and that the window comes up once it is dismissed.
TEST_F(StationWindow, TheStartUpErrorIsAModalBoxWithTitleIconOkAndFullStop)
{
    Application->OnException = nullptr;
    const std::string title = Application->Title();
    Application->SetTitle(ApplicationTitle);
    Dir.Link("COM1", Dir.Path() + "/absent");
    struct {
        QString Title, Text;
        QMessageBox::Icon Icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons Buttons;
        bool Modal = false;
    } seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->isModal()};
        box->button(QMessageBox::Ok)->click();
    });
    Create();
    Application->SetTitle(title);
    EXPECT_EQ(seen.Title, "Ostrel_SMT for Brazil");
    EXPECT_EQ(seen.Text, "Error opening serial port.");
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);
    EXPECT_EQ(seen.Buttons, QMessageBox::Ok);
    EXPECT_TRUE(seen.Modal);
    EXPECT_TRUE(Form->Visible());
}

// The title-bar button closes the window without ClosePort; freeing the window still lets the
// port go, so the next program can open it.
TEST_F(StationWindow, ClosingByTheTitleBarLeavesThePortToTheComponentToRelease)
{
    Create();
    const unsigned long beeps = platform::BeepCount();
    NativeWidgetOf(*Form)->close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Form->Comm1->Opened());
    EXPECT_EQ(platform::BeepCount(), beeps);
    Form.reset();
    TComm next(nullptr);
    EXPECT_NO_THROW(next.OpenPort());
}

} // namespace
