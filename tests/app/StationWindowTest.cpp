// The real window on the offscreen platform, its port a pseudo-terminal linked as COM1: what
// the operator does (picks, typing, Esc) and what the device sends, against the bytes on the
// line and what the window shows. Clicking all six buttons is the end-to-end test's part.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/InputDriver.h"
#include "framework/qt/NativeWidget.h"
#include "platform/Sound.h"
#include "tests/serial/posix/PtyPosix.h"

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
#include <QTimer>

#include <termios.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;
using TTexts = std::vector<std::string>;

class StationWindow : public ::testing::Test {
protected:
    StationWindow()
    {
        Application->OnException = [this](TObject*, const std::string& Text) {
            Errors.push_back(Text);
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
        StartUpBeeps = Beeps();
        Form->Comm1->OnSendDataEmpty = [this](TObject*) { ++Openings; }; // once per opening
        Form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(NativeWidgetOf(*Form)));
    }
    unsigned long Beeps() const { return platform::BeepCount() - BeepsBefore; }

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
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        WaitFor([&] { return !view->isVisible(); }, 1000);
    }

    static void Click(TWinControl& Button) { Input::Click(Button, {30, 12}); }

    TPortDir Dir;
    std::unique_ptr<TPty> Line = std::make_unique<TPty>(Dir);
    TTexts Errors;
    std::unique_ptr<TForm1> Form;
    unsigned long BeepsBefore = 0, StartUpBeeps = 0;
    int Openings = 0;
};

TEST_F(StationWindow, StartsWithTheDefaultsAndOneBeepAndEndsOnEsc)
{
    Create();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(StartUpBeeps, 1u);
    EXPECT_EQ(cfgetospeed(&static_cast<const termios&>(LineSettings(*Line))), speed_t(B9600));
    EXPECT_EQ((TTexts{Form->ComboBox1->Text(), Form->ComboBox2->Text(), Form->ComboBox3->Text(),
                      Form->ComboBox4->Text(), Form->ComboBox5->Text(), Form->Edit1->Text(),
                      Form->Edit2->Text(), Form->Label2->Caption(), Form->Button1->Caption()}),
              (TTexts{"COM1", "9600", "数据位8位", "无校验None", "停止位1", "", "", "", "KEYPAD"}));
    EXPECT_FALSE(Form->Timer1->Enabled());
    QWidget* window = NativeWidgetOf(*Form);
    EXPECT_EQ(window->minimumSize(), QSize(465, 277)); // the operator cannot resize it
    EXPECT_EQ(window->maximumSize(), QSize(465, 277));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    // Between the edits the window shows its sky blue.
    EXPECT_EQ(window->grab().toImage().pixel(203, 20) & 0xFFFFFF, 0xA6CAF0u);

    // Esc in a list that is not dropped down clicks the exit button.
    Input::KeyPress(*Form->ComboBox2, VirtualKey::Escape);
    EXPECT_EQ(Beeps(), 2u);
    EXPECT_FALSE(Form->Comm1->Opened());
    EXPECT_FALSE(Form->Visible());
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
        const unsigned long beeps = Beeps();
        Receive(row.Block);
        EXPECT_EQ(Beeps() - beeps, 1u) << row.Hex;
        EXPECT_EQ((TTexts{Form->Label2->Caption(), Form->Edit2->Text(), Form->Button1->Caption()}),
                  (TTexts{row.Count, row.Hex, row.Caption}));
        EXPECT_EQ(Form->Button1->Font().Color(), row.FontColor) << row.Hex;
        std::vector<double> xs, ys;
        for (int i = 0; i < Form->Series1->Count(); ++i) {
            xs.push_back(Form->Series1->XValues()->Value(i));
            ys.push_back(Form->Series1->YValues()->Value(i));
        }
        EXPECT_EQ(ys, row.Samples) << row.Hex;
        EXPECT_EQ(xs, (row.Samples.empty() ? std::vector<double>{} : std::vector<double>{0, 1}));
    }
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
    // A timer restarted by the second failure would have waited until 8000 ms.
    EXPECT_GE(clock.elapsed(), 5000);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_EQ(Form->Button1->Font().Color(), clWindowText);
    EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(StationWindow, APickReopensWithThatSettingAloneAndTypingReopensAtEveryEdit)
{
    Create();
    Receive({0x00});
    Openings = 0;
    Pick(*Form->ComboBox4, 2);  // "奇校验Odd"
    Pick(*Form->ComboBox2, 21); // "19200"
    EXPECT_TRUE(WaitFor([&] { return Openings == 2; }));
    EXPECT_TRUE(Errors.empty());
    const termios line = LineSettings(*Line);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & (PARODD | CSIZE | CSTOPB), tcflag_t(PARODD | CS8));

    // Text that is no item selects nothing: the port reopens unchanged.
    QLineEdit* field = static_cast<QComboBox*>(NativeWidgetOf(*Form->ComboBox1))->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, "CO");
    EXPECT_TRUE(WaitFor([&] { return Openings == 4; }));
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(Form->Comm1->CommName(), "COM1");

    Receive({0x00});
    EXPECT_EQ(Form->Label2->Caption(), "2"); // the counter goes on across port changes
    EXPECT_EQ(Openings, 4);
}

// A start without COM1: one beep, then the platform's modal error box, then the window. Test
// frames are refused until a pick opens a port; a pick that fails shows the box once more.
TEST_F(StationWindow, AStartWithoutCom1ShowsTheErrorBoxAfterTheBeepAndRefusesFramesTillAGoodPick)
{
    Application->OnException = nullptr;
    const std::string title = Application->Title();
    Application->SetTitle(ApplicationTitle);
    LinkPort(Dir, "COM1", PortPath(Dir) + "/absent");
    LinkPort(Dir, "COM3", PortPath(Dir) + "/unplugged");
    TPty other(Dir, "COM2");
    QStringList seen;
    const auto answerTheBox = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen << QString("%1|%2|%3|%4|%5|%6")
                        .arg(box->windowTitle(), box->text())
                        .arg(box->icon() == QMessageBox::Critical)
                        .arg(box->standardButtons() == QMessageBox::Ok)
                        .arg(box->isModal())
                        .arg(Beeps());
            box->button(QMessageBox::Ok)->click();
        });
    };
    answerTheBox();
    Create();
    Application->SetTitle(title);
    EXPECT_EQ(seen, QStringList{"Ostrel_SMT for Brazil|Error opening serial port.|1|1|1|1"});
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->ComboBox3->Text(), "数据位8位");

    Click(*Form->Button1); // refused, but it beeps and shows its frame all the same
    EXPECT_EQ(Beeps(), 2u);
    EXPECT_EQ(Form->Edit1->Text(), "AA55010000000000");

    answerTheBox();
    Pick(*Form->ComboBox1, 2);
    EXPECT_EQ(seen.size(), 2);
    EXPECT_FALSE(Form->Comm1->Opened());
    Pick(*Form->ComboBox1, 1);
    EXPECT_EQ(seen.size(), 2);
    Click(*Form->Button6);
    EXPECT_EQ(other.Read(8, 3000), (TBytes{0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05}));
}

// The title-bar button closes the window without ClosePort; freeing the window still lets the
// port go, so the next program can open it.
TEST_F(StationWindow, ClosingByTheTitleBarLeavesThePortToTheComponentToRelease)
{
    Create();
    NativeWidgetOf(*Form)->close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Form->Comm1->Opened());
    EXPECT_EQ(Beeps(), 1u);
    Form.reset();
    TComm next(nullptr);
    EXPECT_NO_THROW(next.OpenPort());
}

} // namespace
