// The real window, its COM1 on a line that the test holds: what the device sends against what
// the window shows, and Esc. The same on every backend; what only one backend can show (its
// native windows, the line's settings as the device sees them) is in qt/ and win32/.
#include "tests/app/StationFixture.h"

#include <chrono>

TEST_F(StationWindow, StartsWithTheDefaultsAndOneBeepAndEndsOnEsc)
{
    Create();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(StartUpBeeps, 1u);
    EXPECT_TRUE(Form->Comm1->Opened());
    EXPECT_EQ((TTexts{Form->ComboBox1->Text(), Form->ComboBox2->Text(), Form->ComboBox3->Text(),
                      Form->ComboBox4->Text(), Form->ComboBox5->Text(), Form->Edit1->Text(),
                      Form->Edit2->Text(), Form->Label2->Caption(), Form->Button1->Caption()}),
              (TTexts{"COM1", "9600", "数据位8位", "无校验None", "停止位1", "", "", "", "KEYPAD"}));
    EXPECT_FALSE(Form->Timer1->Enabled());

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
    // Taken before the failure starts the timer, so the timer cannot have run longer than this.
    const auto start = std::chrono::steady_clock::now();
    Receive({0x01, 0x02});
    Pump(3000);
    Receive({0x05, 0x07});
    ASSERT_EQ(Form->Button1->Caption(), "校验失败！");
    ASSERT_TRUE(WaitFor([&] { return Form->Button1->Caption() == "KEYPAD"; }, 10000));
    // A timer restarted by the second failure would have waited until 8000 ms.
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Less the system timer's tick (15.6 ms on Windows), which its time-outs are rounded to.
    EXPECT_GE(elapsed, std::chrono::milliseconds(5000 - 16));
    EXPECT_LT(elapsed, std::chrono::milliseconds(8000));
    EXPECT_EQ(Form->Button1->Font().Color(), clWindowText);
    EXPECT_FALSE(Form->Timer1->Enabled());
}
